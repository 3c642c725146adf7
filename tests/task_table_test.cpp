#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/app_state.h"
#include "core/task_table.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"

namespace {

using TaskTable = AppTest;

void add_rows(int count) {
  for (int i = 0; i < count; ++i) {
    append_row(std::to_string(row_count() + 1));
    set_cell(row_count() - 1, COL_FILE, "S:\\row" + std::to_string(i));
  }
}

TEST_F(TaskTable, HasTheSixColumnsInOrder) {
  const char* headers[] = {"序号", "目录", "模式", "删除方式", "时间", "备注"};
  const int widths[] = {55, 360, 80, 100, 80, 80};
  for (int i = 0; i < 6; ++i) {
    char text[64] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(controls.超级列表框1, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, headers[i]);
    EXPECT_EQ(column.cx, widths[i]);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, i == 0 ? LVCFMT_LEFT : LVCFMT_CENTER);
  }
  EXPECT_EQ(row_count(), 0);
  DWORD extended = static_cast<DWORD>(SendMessageA(controls.超级列表框1, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(extended & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
  LONG_PTR style = GetWindowLongPtrA(controls.超级列表框1, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
}

TEST_F(TaskTable, CellsOfAnyLengthComeBackWhole) {
  add_rows(1);
  for (size_t length : {0u, 1u, 510u, 511u, 512u, 513u, 1023u, 1024u, 1025u, 4097u, 20000u}) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    set_cell(0, COL_REMARK, text);
    EXPECT_EQ(get_cell(0, COL_REMARK), text) << "length " << length;
  }
  std::string chinese;
  for (int i = 0; i < 400; ++i) chinese += "目录";  // 1600 bytes of GBK
  set_cell(0, COL_FILE, chinese);
  EXPECT_EQ(row_file(0), chinese);
}

TEST_F(TaskTable, MissingRowsAndColumnsReadEmptyAndIgnoreWrites) {
  add_rows(1);
  EXPECT_EQ(get_cell(1, COL_FILE), "");
  EXPECT_EQ(get_cell(-1, COL_FILE), "");
  EXPECT_EQ(get_cell(0, 9), "");
  EXPECT_EQ(row_mode(5), 0);
  EXPECT_EQ(row_time(5), 0);
  set_cell(3, COL_FILE, "x");
  delete_row(7);
  EXPECT_EQ(row_count(), 1);
  EXPECT_EQ(row_file(0), "S:\\row0");
}

struct CodeCase {
  const char* cell;
  int32_t mode;
  int32_t del_mode;
};

TEST_F(TaskTable, CodeTextsMatchExactly) {
  const CodeCase cases[] = {
      {"文件", MODE_FILE, DEL_NONE},      {"目录", MODE_DIRECTORY, DEL_NONE}, {"子目录", MODE_CONTENTS, DEL_NONE},
      {"删除", MODE_NONE, DEL_DELETE},    {"回收站", MODE_NONE, DEL_RECYCLE}, {"文件 ", MODE_NONE, DEL_NONE},
      {" 删除", MODE_NONE, DEL_NONE},     {"", MODE_NONE, DEL_NONE},          {"1", MODE_NONE, DEL_NONE},
  };
  add_rows(1);
  for (const CodeCase& c : cases) {
    set_cell(0, COL_MODE, c.cell);
    set_cell(0, COL_DEL_MODE, c.cell);
    EXPECT_EQ(row_mode(0), c.mode) << c.cell;
    EXPECT_EQ(row_del_mode(0), c.del_mode) << c.cell;
  }
}

TEST_F(TaskTable, PeriodIsReadThroughTextToInt) {
  add_rows(1);
  set_cell(0, COL_TIME, "0060");
  EXPECT_EQ(row_time(0), 60);
  set_cell(0, COL_TIME, "\xA3\xB3\xA3\xB6\xA3\xB0\xA3\xB0");
  EXPECT_EQ(row_time(0), 3600);
}

TEST_F(TaskTable, AddNumbersTheNewRowAndRestartsTheCount) {
  EditorStandIn editor;
  editor.fill("S:\\a b\\c.txt", "0060", " 备注 ", 1, 1);
  tick_count = 77;
  EXPECT_TRUE(add_row_from_editor());
  ASSERT_EQ(row_count(), 1);
  EXPECT_EQ(get_cell(0, COL_NUMBER), "1");
  EXPECT_EQ(row_file(0), "S:\\a b\\c.txt");
  EXPECT_EQ(get_cell(0, COL_MODE), "文件");
  EXPECT_EQ(get_cell(0, COL_DEL_MODE), "删除");
  EXPECT_EQ(get_cell(0, COL_TIME), "0060");
  EXPECT_EQ(row_time(0), 60);
  EXPECT_EQ(row_remark(0), " 备注 ");
  EXPECT_EQ(tick_count, 0);
  EXPECT_NE(log_text().find("数据添加完成\n"), std::string::npos);

  add_rows(8);
  editor.fill("S:\\d", "5", "", 3, 2);
  add_row_from_editor();
  ASSERT_EQ(row_count(), 10);
  EXPECT_EQ(get_cell(9, COL_NUMBER), "10");
  EXPECT_EQ(get_cell(9, COL_MODE), "子目录");
  EXPECT_EQ(get_cell(9, COL_DEL_MODE), "回收站");
}

TEST_F(TaskTable, UpdateRewritesTheRowButNotItsNumber) {
  EditorStandIn editor;
  for (int i = 0; i < 3; ++i) {
    editor.fill("S:\\old" + std::to_string(i), "10", "old", 1, 1);
    add_row_from_editor();
  }
  edit_row = 2;
  tick_count = 5;
  editor.fill("S:\\new", "12ab", "new note", 2, 2);
  EXPECT_TRUE(update_row_from_editor());
  EXPECT_EQ(get_cell(2, COL_NUMBER), "3");
  EXPECT_EQ(row_file(2), "S:\\new");
  EXPECT_EQ(get_cell(2, COL_MODE), "目录");
  EXPECT_EQ(get_cell(2, COL_DEL_MODE), "回收站");
  EXPECT_EQ(get_cell(2, COL_TIME), "12ab");
  EXPECT_EQ(row_time(2), 12);
  EXPECT_EQ(row_remark(2), "new note");
  EXPECT_EQ(row_file(1), "S:\\old1");
  EXPECT_EQ(tick_count, 0);
  EXPECT_NE(log_text().find("数据修改完成\n"), std::string::npos);

  // A radio group with nothing checked leaves its column as it was.
  editor.fill("S:\\newer", "7", "", 0, 0);
  update_row_from_editor();
  EXPECT_EQ(get_cell(2, COL_MODE), "目录");
  EXPECT_EQ(get_cell(2, COL_DEL_MODE), "回收站");
  EXPECT_EQ(row_file(2), "S:\\newer");
}

void select_row(int32_t row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(controls.超级列表框1, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

TEST_F(TaskTable, DeleteRenumbersTheRowsLeft) {
  add_rows(3);
  select_row(0);
  EXPECT_EQ(selected_row(), 0);
  tick_count = 9;
  delete_selected_row();
  ASSERT_EQ(row_count(), 2);
  EXPECT_EQ(get_cell(0, COL_NUMBER), "1");
  EXPECT_EQ(get_cell(1, COL_NUMBER), "2");
  EXPECT_EQ(row_file(0), "S:\\row1");
  EXPECT_EQ(row_file(1), "S:\\row2");
  EXPECT_EQ(tick_count, 0);
  EXPECT_EQ(selected_row(), -1);
  EXPECT_NE(log_text().find("配置写入完成\n"), std::string::npos);

  select_row(1);
  delete_selected_row();
  ASSERT_EQ(row_count(), 1);
  EXPECT_EQ(get_cell(0, COL_NUMBER), "1");
  EXPECT_EQ(row_file(0), "S:\\row1");
}

TEST_F(TaskTable, DeleteWithoutSelectionOnlyShowsTheMessage) {
  add_rows(2);
  tick_count = 4;
  std::string log_before = read_file(dir_ + "\\log.txt");
  MessageBoxWatcher watcher("信息：");
  delete_selected_row();
  EXPECT_EQ(watcher.wait_one(), "当前未选中任何项目");
  EXPECT_EQ(row_count(), 2);
  EXPECT_EQ(tick_count, 4);
  EXPECT_EQ(read_file(dir_ + "\\log.txt"), log_before);
  EXPECT_FALSE(file_exists(dir_ + "\\cfg.ini"));
}

}  // namespace
