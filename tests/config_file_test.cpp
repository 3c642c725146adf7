// cfg.ini with the real task table in a hidden main window: loading, saving,
// failed saves, and values that must come back exactly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/task_table.h"
#include "persist/config_file.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"

namespace {

struct Row {
  std::string file, mode, del_mode, time, remark;
  bool operator==(const Row& other) const {
    return file == other.file && mode == other.mode && del_mode == other.del_mode && time == other.time &&
           remark == other.remark;
  }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "{" << row.file.substr(0, 40) << " (" << row.file.size() << " bytes) | " << row.mode << " | "
             << row.del_mode << " | " << row.time << " | " << row.remark.substr(0, 40) << "}";
}

const Row kDefaultRow = {"", "子目录", "回收站", "3600", ""};

std::vector<Row> table_rows() {
  std::vector<Row> rows;
  for (int32_t r = 0; r < row_count(); ++r)
    rows.push_back({get_cell(r, COL_FILE), get_cell(r, COL_MODE), get_cell(r, COL_DEL_MODE), get_cell(r, COL_TIME),
                    get_cell(r, COL_REMARK)});
  return rows;
}

void add_rows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    int32_t r = append_row(std::to_string(row_count() + 1));
    set_cell(r, COL_FILE, row.file);
    set_cell(r, COL_MODE, row.mode);
    set_cell(r, COL_DEL_MODE, row.del_mode);
    set_cell(r, COL_TIME, row.time);
    set_cell(r, COL_REMARK, row.remark);
  }
}

void clear_table() {
  while (row_count() > 0) delete_row(0);
}

std::string label_text() {
  char text[64] = "";
  GetWindowTextA(controls.标签2, text, sizeof text);
  return text;
}

std::string platform_read(const std::string& path, const char* section, const char* key) {
  std::vector<char> buffer(10240, '\0');
  GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  return buffer.data();
}

class ConfigFile : public AppTest {
 protected:
  std::string cfg() const { return dir_ + "\\cfg.ini"; }
  std::string leftover() const { return dir_ + "\\cfg.ini.saving"; }
  int log_count(const std::string& line) const {
    std::string log = log_text();
    int count = 0;
    for (size_t at = log.find(line + "\n"); at != std::string::npos; at = log.find(line + "\n", at + 1)) ++count;
    return count;
  }
};

struct LoadCase {
  const char* name;
  std::string file;
  std::vector<Row> rows;
  int32_t point;
};

std::vector<LoadCase> load_cases() {
  std::string long_path = "C:\\" + std::string(10300, 'p');
  return {
      {"num above the sections present", "[Sweepwarden]\r\nnum=3\r\npoint=4\r\n[1]\r\nfile=a\r\nmode=1\r\n",
       {{"a", "文件", "回收站", "3600", ""}}, 4},
      {"sections 1 and 3 with num 3",
       "[Sweepwarden]\r\nnum=3\r\n[1]\r\nfile=a\r\n[3]\r\nfile=c\r\ndel_mode=1\r\ntime=5\r\n",
       {{"a", "子目录", "回收站", "3600", ""}, kDefaultRow, {"c", "子目录", "删除", "5", ""}}, 0},
      {"num below the sections present", "[Sweepwarden]\r\nnum=1\r\n[1]\r\nfile=a\r\n[2]\r\nfile=b\r\n",
       {{"a", "子目录", "回收站", "3600", ""}}, 0},
      {"huge num stops at the last section",
       "[Sweepwarden]\r\nnum=2000000000\r\npoint=-5\r\n[1]\r\nfile=a\r\n[2]\r\nfile=b\r\n[07]\r\nfile=x\r\n",
       {{"a", "子目录", "回收站", "3600", ""}, {"b", "子目录", "回收站", "3600", ""}}, -5},
      {"negative num", "[Sweepwarden]\r\nnum=-2\r\npoint=9\r\n[1]\r\nfile=a\r\n", {}, 9},
      {"num not a number", "[Sweepwarden]\r\nnum=abc\r\n[1]\r\nfile=a\r\n", {}, 0},
      {"no counts section", "[1]\r\nfile=a\r\n", {}, 0},
      {"empty and unknown codes",
       "[Sweepwarden]\r\nnum=3\r\n[1]\r\nmode=\r\ndel_mode=\r\n[2]\r\nmode=7\r\ndel_mode=5\r\n[3]\r\nmode=0\r\ndel_mode=-1\r\n",
       {{"", "", "", "3600", ""}, {"", "", "", "3600", ""}, {"", "", "", "3600", ""}}, 0},
      {"periods", "[Sweepwarden]\r\nnum=5\r\n[1]\r\ntime=abc\r\n[2]\r\ntime=90s\r\n[3]\r\ntime=\xA3\xB3\xA3\xB6\xA3\xB0\xA3\xB0\r\n[4]\r\n[5]\r\ntime=0060\r\n",
       {{"", "子目录", "回收站", "0", ""}, {"", "子目录", "回收站", "90", ""}, {"", "子目录", "回收站", "3600", ""},
        kDefaultRow, {"", "子目录", "回收站", "60", ""}}, 0},
      {"unknown keys and sections ignored",
       "[other]\r\nfile=z\r\n[Sweepwarden]\r\nnum=1\r\nextra=1\r\n[1]\r\ncolour=red\r\nremark=note\r\nfile=f\r\n",
       {{"f", "子目录", "回收站", "3600", "note"}}, 0},
      {"values over 10239 bytes cut", "[Sweepwarden]\r\nnum=1\r\n[1]\r\nfile=" + long_path + "\r\n",
       {{long_path.substr(0, 10239), "子目录", "回收站", "3600", ""}}, 0},
  };
}

TEST_F(ConfigFile, LoadsTheTableAndPointFromHandEditedFiles) {
  for (const LoadCase& c : load_cases()) {
    SCOPED_TRACE(c.name);
    clear_table();
    point = 0;
    ASSERT_TRUE(write_file(cfg(), c.file));
    load_config();
    EXPECT_EQ(table_rows(), c.rows);
    EXPECT_EQ(point, c.point);
    EXPECT_EQ(label_text(), std::to_string(c.point));
    for (int32_t r = 0; r < row_count(); ++r) EXPECT_EQ(get_cell(r, COL_NUMBER), std::to_string(r + 1));
  }
  EXPECT_EQ(log_count("配置读入完成"), static_cast<int>(load_cases().size()));
}

TEST_F(ConfigFile, NoFileAtStartGivesNoRowsAndTheFirstSaveWritesZeros) {
  EXPECT_EQ(row_count(), 0);
  EXPECT_EQ(label_text(), "0");
  EXPECT_EQ(log_count("配置读入完成"), 0);
  save_config();
  EXPECT_EQ(read_file(cfg()), "[Sweepwarden]\r\nnum=0\r\npoint=0\r\n");
  EXPECT_EQ(log_count("配置写入完成"), 1);
}

TEST_F(ConfigFile, SaveWritesEveryRowInOrderAndDropsWhatItDoesNotKnow) {
  ASSERT_TRUE(write_file(cfg(), "[1]\r\nremark=r1\r\ncolour=red\r\ntime=0060\r\nfile=C:\\a\r\nmode=1\r\n"
                                "[Sweepwarden]\r\nextra=x\r\npoint=12\r\nnum=3\r\n[3]\r\nmode=9\r\ndel_mode=1\r\n"
                                "[9]\r\nfile=beyond\r\n"));
  load_config();
  save_config();
  EXPECT_EQ(read_file(cfg()),
            "[Sweepwarden]\r\nnum=3\r\npoint=12\r\n"
            "\r\n[1]\r\nfile=C:\\a\r\nmode=1\r\ndel_mode=2\r\ntime=60\r\nremark=r1\r\n"
            "\r\n[2]\r\nfile=\r\nmode=3\r\ndel_mode=2\r\ntime=3600\r\nremark=\r\n"
            "\r\n[3]\r\nfile=\r\nmode=0\r\ndel_mode=1\r\ntime=3600\r\nremark=\r\n");
  EXPECT_FALSE(file_exists(leftover()));
}

TEST_F(ConfigFile, DeletingTheLastTaskLeavesOnlyTheCounts) {
  add_rows({{"C:\\x", "文件", "删除", "10", ""}});
  point = 7;
  save_config();
  delete_row(0);
  save_config();
  EXPECT_EQ(read_file(cfg()), "[Sweepwarden]\r\nnum=0\r\npoint=7\r\n");
}

// A save that cannot be done leaves the old file, no temporary file, and is logged as done.
TEST_F(ConfigFile, FailedSavesLeaveTheOldFile) {
  const std::string old_text = "[Sweepwarden]\r\nnum=1\r\npoint=3\r\n[1]\r\nfile=old\r\n";
  add_rows({{"C:\\new", "文件", "删除", "10", ""}});

  ASSERT_TRUE(write_file(cfg(), old_text));
  set_read_only(cfg(), true);
  save_config();
  EXPECT_EQ(read_file(cfg()), old_text) << "read-only file";
  EXPECT_FALSE(file_exists(leftover()));
  set_read_only(cfg(), false);

  HANDLE held = CreateFileA(cfg().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  save_config();
  CloseHandle(held);
  EXPECT_EQ(read_file(cfg()), old_text) << "file held open by another program";
  EXPECT_FALSE(file_exists(leftover()));

  EXPECT_EQ(log_count("配置写入完成"), 2);
  save_config();
  EXPECT_NE(read_file(cfg()).find("file=C:\\new"), std::string::npos);
}

// Wine ignores the read-only attribute of folders, so ctest makes this folder
// from the Linux side without write permission (config_closed_folder).
TEST_F(ConfigFile, ASaveIntoAFolderWithoutWritePermissionLeavesTheOldFile) {
  std::string folder = std::string(std::getenv("SWEEP_SCRATCH")) + "\\closed-folder";
  std::string old_text = read_file(folder + "\\cfg.ini");
  ASSERT_NE(old_text, "") << "made by the config_closed_folder test";
  ASSERT_FALSE(write_file(folder + "\\probe", "x")) << "the folder must refuse new files";
  add_rows({{"C:\\new", "文件", "删除", "10", ""}});
  exe_dir = folder;
  save_config();
  exe_dir = dir_;
  EXPECT_EQ(read_file(folder + "\\cfg.ini"), old_text);
  EXPECT_FALSE(file_exists(folder + "\\cfg.ini.saving"));
}

TEST_F(ConfigFile, ATemporaryFileLeftByAKilledSaveGoesWithTheNextSave) {
  ASSERT_TRUE(write_file(leftover(), "[Sweepwarden]\r\nnum=1\r\n[1]\r\nfile=ha"));
  save_config();
  EXPECT_FALSE(file_exists(leftover()));
  EXPECT_EQ(read_file(cfg()), "[Sweepwarden]\r\nnum=0\r\npoint=0\r\n");
}

TEST_F(ConfigFile, PathsAndNotesComeBackExactly) {
  const std::string gbk = "C:\\中文\\目录";
  const std::vector<std::string> texts = {
      " lead", "trail ", "  both  ", "\"C:\\quoted\"", "'single'", "\"open", "close\"", "\"", "a=b=c",
      ";not a comment", "[not a section]", "]", gbk, " " + gbk + " ", "\t\x1A" "x", "\"\"", std::string(10000, 'z'),
      " " + std::string(9990, 'w') + "\" ", ""};
  std::vector<Row> rows;
  for (size_t i = 0; i < texts.size(); ++i)
    rows.push_back({texts[i], "目录", "删除", std::to_string(i + 1), texts[texts.size() - 1 - i]});
  add_rows(rows);
  point = 42;
  save_config();
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string section = std::to_string(i + 1);
    EXPECT_EQ(platform_read(cfg(), section.c_str(), "file"), texts[i]) << "the platform's reader, row " << i;
  }
  clear_table();
  point = 0;
  load_config();
  EXPECT_EQ(table_rows(), rows);
  EXPECT_EQ(point, 42);
}

}  // namespace
