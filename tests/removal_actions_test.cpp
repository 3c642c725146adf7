// The three removal actions and the file-system services under them, on real
// files of the scratch drive, with the real Recycle Bin (Wine's XDG Trash).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "core/app_state.h"
#include "core/task_table.h"
#include "persist/activity_log.h"
#include "removal/file_services.h"
#include "removal/removal_actions.h"
#include "tests/bench_env.h"
#include "tests/removal_fixture.h"

namespace {

class ScratchTrash : public ::testing::Environment {
 public:
  void SetUp() override { use_scratch_trash(); }
};
const ::testing::Environment* const kTrash = ::testing::AddGlobalTestEnvironment(new ScratchTrash);

bool in_trash(const std::string& name) { return file_exists(trash_files() + "\\" + name); }

using FileTask = RemovalTest;

TEST_F(FileTask, DeleteAndRecycleEachLogOneLineCountAndShowTheTotal) {
  std::string a = dir_ + "\\a.txt", b = dir_ + "\\recycled-file-b.txt";
  ASSERT_TRUE(write_file(a, "a"));
  ASSERT_TRUE(write_file(b, "b"));
  point = 41;
  remove_file_target(a, add_task(a, "文件", "删除"));
  remove_file_target(b, add_task(b, "文件", "回收站"));
  EXPECT_FALSE(file_exists(a));
  EXPECT_FALSE(file_exists(b));
  EXPECT_TRUE(in_trash("recycled-file-b.txt"));
  EXPECT_EQ(removal_lines(), a + " 删除完成\n" + b + " 移动到回收站\n");
  EXPECT_EQ(point, 43);
  EXPECT_EQ(label(), "43");
}

TEST_F(FileTask, DoesNothingWhereTheTargetIsMissingReadOnlyOrUnnamed) {
  std::string read_only = dir_ + "\\ro.txt", folder = dir_ + "\\folder";
  ASSERT_TRUE(write_file(read_only, "r"));
  set_read_only(read_only, true);
  make_dir(folder);
  ASSERT_TRUE(write_file(folder + "\\in.txt", "x"));
  ASSERT_TRUE(write_file(dir_ + "\\m1.log", "1"));
  struct Case {
    std::string path;
    const char* method;
  } cases[] = {
      {dir_ + "\\missing.txt", "删除"}, {dir_ + "\\missing.txt", "回收站"},
      {read_only, "删除"},               {folder, "删除"},  // delete_file removes no folder
      {dir_ + "\\*.log", "删除"},       // nor a pattern
      {folder + "\\", "删除"},          {folder + "\\", "回收站"},  // a trailing "\" never exists
      {"", "删除"},                     {"", "回收站"},
      {folder + "\\in.txt", "其他"},    // no method
  };
  for (const Case& c : cases) remove_file_target(c.path, add_task(c.path, "文件", c.method));
  EXPECT_TRUE(file_exists(read_only));
  EXPECT_TRUE(file_exists(folder + "\\in.txt"));
  EXPECT_TRUE(file_exists(dir_ + "\\m1.log"));
  EXPECT_EQ(removal_lines(), "");
  EXPECT_EQ(point, 0);
  EXPECT_EQ(label(), "0");
  set_read_only(read_only, false);
}

TEST_F(FileTask, RecyclesAWholeFolderAndEveryMatchOfAPattern) {
  std::string folder = dir_ + "\\file-task-folder";
  make_dir(folder);
  ASSERT_TRUE(write_file(folder + "\\in.txt", "x"));
  ASSERT_TRUE(write_file(dir_ + "\\pat1.log", "1"));
  ASSERT_TRUE(write_file(dir_ + "\\pat2.log", "2"));
  ASSERT_TRUE(write_file(dir_ + "\\keep.txt", "k"));
  remove_file_target(folder, add_task(folder, "文件", "回收站"));
  std::string pattern = dir_ + "\\pat?.log";
  remove_file_target(pattern, add_task(pattern, "文件", "回收站"));
  EXPECT_FALSE(file_exists(folder));
  EXPECT_TRUE(in_trash("file-task-folder"));
  EXPECT_FALSE(file_exists(dir_ + "\\pat1.log"));
  EXPECT_FALSE(file_exists(dir_ + "\\pat2.log"));
  EXPECT_TRUE(file_exists(dir_ + "\\keep.txt"));
  EXPECT_EQ(removal_lines(), folder + " 移动到回收站\n" + pattern + " 移动到回收站\n");
  EXPECT_EQ(point, 2);
}

using DirectoryTask = RemovalTest;

TEST_F(DirectoryTask, RemovesTheWholeTreeAsOneRemoval) {
  std::string tree = dir_ + "\\tree", recycled = dir_ + "\\recycled-tree";
  for (const std::string& root : {tree, recycled}) {
    make_dir(root);
    make_dir(root + "\\sub");
    make_dir(root + "\\sub\\deeper");
    ASSERT_TRUE(write_file(root + "\\a.txt", "a"));
    ASSERT_TRUE(write_file(root + "\\sub\\deeper\\b.txt", "b"));
  }
  remove_directory_target(tree, add_task(tree, "目录", "删除"));
  remove_directory_target(recycled, add_task(recycled, "目录", "回收站"));
  EXPECT_FALSE(file_exists(tree));
  EXPECT_FALSE(file_exists(recycled));
  EXPECT_TRUE(in_trash("recycled-tree"));
  EXPECT_EQ(removal_lines(), tree + " 删除完成\n" + recycled + " 移动到回收站\n");
  EXPECT_EQ(point, 2);
}

TEST_F(DirectoryTask, DeleteLeavesDotEntriesReadOnlyFilesAndTheFoldersAboveThem) {
  std::string tree = dir_ + "\\tree";
  make_dir(tree);
  make_dir(tree + "\\empty-after");
  make_dir(tree + "\\holds-ro");
  make_dir(tree + "\\holds-dot");
  ASSERT_TRUE(write_file(tree + "\\plain.txt", "p"));
  ASSERT_TRUE(write_file(tree + "\\empty-after\\x.txt", "x"));
  ASSERT_TRUE(write_file(tree + "\\holds-ro\\ro.txt", "r"));
  set_read_only(tree + "\\holds-ro\\ro.txt", true);
  ASSERT_TRUE(write_file(tree + "\\holds-dot\\.hidden", "h"));
  remove_directory_target(tree, add_task(tree, "目录", "删除"));
  EXPECT_FALSE(file_exists(tree + "\\plain.txt"));
  EXPECT_FALSE(file_exists(tree + "\\empty-after"));
  EXPECT_TRUE(file_exists(tree + "\\holds-ro\\ro.txt"));
  EXPECT_TRUE(file_exists(tree + "\\holds-dot\\.hidden"));
  EXPECT_EQ(removal_lines(), "");
  EXPECT_EQ(point, 0);
  set_read_only(tree + "\\holds-ro\\ro.txt", false);
}

TEST(FileServices, RemoveDirectoryTreeRefusesEmptyPathsAndDriveRoots) {
  std::string probe = make_scratch_dir("drive-root-probe");
  ASSERT_TRUE(write_file(probe + "\\stays.txt", "s"));
  const char* refused[] = {"", "   ", "S:", "S:\\", "  S:\\"};
  for (const char* path : refused) EXPECT_FALSE(remove_directory_tree(path)) << path;
  EXPECT_TRUE(file_exists(probe + "\\stays.txt"));
}

TEST(FileServices, FileAttributesAndFindEntry) {
  std::string dir = make_scratch_dir("find-entry");
  make_dir(dir + "\\sub");
  ASSERT_TRUE(write_file(dir + "\\a.txt", "a"));
  EXPECT_EQ(file_attributes(dir + "\\sub"), 16);
  EXPECT_EQ(file_attributes(dir + "\\a.txt") & 32, 32);
  EXPECT_EQ(file_attributes(dir + "\\missing"), -1);
  HANDLE search = nullptr;
  std::string names;
  for (std::string name = find_entry(dir + "\\*.*", &search); !name.empty(); name = find_entry("", &search))
    names += name + ";";
  EXPECT_EQ(search, nullptr);  // the end closed the search
  EXPECT_NE(names.find("a.txt;"), std::string::npos);
  EXPECT_NE(names.find("sub;"), std::string::npos);
  EXPECT_EQ(find_entry(dir + "\\nothing*", &search), "");
  EXPECT_EQ(find_entry("", &search), "");  // no open search
  EXPECT_FALSE(find_entry(dir + "\\*", &search).empty());
  find_close(&search);
  EXPECT_EQ(search, nullptr);
}

TEST(FileServices, RecycleBinMoveGivesTheWindowsTheirStateBack) {
  std::string dir = make_scratch_dir("recycle-windows");
  ASSERT_TRUE(write_file(dir + "\\w.txt", "w"));
  HWND enabled = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND disabled = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_DISABLED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
  EXPECT_TRUE(move_to_recycle_bin(dir + "\\w.txt"));
  EXPECT_TRUE(IsWindowEnabled(enabled));
  EXPECT_FALSE(IsWindowEnabled(disabled));
  EXPECT_FALSE(move_to_recycle_bin(""));
  DestroyWindow(enabled);
  DestroyWindow(disabled);
}

using ContentsTask = RemovalTest;

TEST_F(ContentsTask, RemovesEachTopLevelEntryWithALineAndACountEach) {
  std::string box = dir_ + "\\box";
  make_dir(box);
  ASSERT_TRUE(write_file(box + "\\one.txt", "1"));
  ASSERT_TRUE(write_file(box + "\\two.txt", "2"));
  make_dir(box + "\\sub");
  ASSERT_TRUE(write_file(box + "\\sub\\inner.txt", "i"));
  point = 7;
  std::string path = box;
  remove_directory_contents(path, add_task(box, "子目录", "删除"));
  EXPECT_EQ(path, box + "\\");
  EXPECT_TRUE(file_exists(box));
  HANDLE search = nullptr;
  EXPECT_EQ(find_entry(box + "\\?*", &search), ".");  // only "." and ".." are left
  find_close(&search);
  // Three lines in search order: whatever it is, each entry once.
  std::string lines = removal_lines();
  for (const char* name : {"one.txt", "two.txt", "sub"})
    EXPECT_NE(lines.find(box + "\\" + name + " 删除完成\n"), std::string::npos) << name;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
  EXPECT_EQ(point, 10);
  EXPECT_EQ(label(), "10");
}

TEST_F(ContentsTask, TakesTopLevelDotEntriesAndRecyclesEntriesOneByOne) {
  // Only "." and ".." are skipped at the top level. Under Wine a dot-name is
  // hidden, so a ".cache" folder is not a plain directory: "删除" takes it for a
  // file and fails, "回收站" moves it.
  std::string box = dir_ + "\\box";
  make_dir(box);
  ASSERT_TRUE(write_file(box + "\\.cache", "c"));
  make_dir(box + "\\.config");
  std::string path = box + "\\";  // already ends in "\"
  remove_directory_contents(path, add_task(box, "子目录", "删除"));
  EXPECT_EQ(path, box + "\\");
  EXPECT_FALSE(file_exists(box + "\\.cache"));
  EXPECT_TRUE(file_exists(box + "\\.config"));
  EXPECT_EQ(removal_lines(), box + "\\.cache 删除完成\n");

  std::string bin = dir_ + "\\to-bin";
  make_dir(bin);
  make_dir(bin + "\\.cache-recycled");
  ASSERT_TRUE(write_file(bin + "\\contents-recycled.txt", "r"));
  path = bin;
  remove_directory_contents(path, add_task(bin, "子目录", "回收站"));
  EXPECT_TRUE(in_trash("contents-recycled.txt"));
  EXPECT_TRUE(in_trash(".cache-recycled"));
  EXPECT_TRUE(file_exists(bin));
  EXPECT_EQ(point, 3);
}

TEST_F(ContentsTask, DoesNothingOnAMissingFolderAFileOrAnEmptyPath) {
  // An empty path would search "\*.*", the root of the current drive: put a
  // witness there and make the current drive the scratch drive.
  std::string witness = "S:\\empty-path-witness-" + std::to_string(GetCurrentProcessId()) + ".txt";
  ASSERT_TRUE(write_file(witness, "w"));
  ASSERT_TRUE(write_file(dir_ + "\\file.txt", "f"));
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  SetCurrentDirectoryA(dir_.c_str());
  for (const char* method : {"删除", "回收站"}) {
    for (std::string path : {dir_ + "\\missing", dir_ + "\\file.txt", std::string(), std::string("  ")}) {
      remove_directory_contents(path, add_task(path, "子目录", method));
      std::string again = path;
      remove_directory_target(again, add_task(path, "目录", method));
    }
  }
  SetCurrentDirectoryA(cwd);
  EXPECT_TRUE(file_exists(witness));
  EXPECT_TRUE(file_exists(dir_ + "\\file.txt"));
  EXPECT_EQ(removal_lines(), "");
  DeleteFileA(witness.c_str());
}

TEST_F(ContentsTask, PathEndingInADoubleByteCharacterWithTrailByte5C) {
  // 表 is B1 ED; 媆 is 8B 5C: its second byte is the backslash's.
  std::string folder = dir_ + "\\媆", sibling = dir_ + "\\媆sibling";
  ASSERT_EQ(folder.back(), '\x5C');
  make_dir(folder);
  make_dir(sibling);
  ASSERT_TRUE(write_file(folder + "\\inside.txt", "i"));
  ASSERT_TRUE(write_file(sibling + "\\other.txt", "o"));
  EXPECT_TRUE(path_exists(folder));
  std::string path = folder;
  remove_directory_contents(path, add_task(folder, "子目录", "删除"));
  EXPECT_EQ(path, folder + "\\");
  EXPECT_FALSE(file_exists(folder + "\\inside.txt"));
  EXPECT_TRUE(file_exists(sibling + "\\other.txt"));
  EXPECT_EQ(removal_lines(), folder + "\\inside.txt 删除完成\n");
}

TEST_F(ContentsTask, ABareDriveSearchesTheRootOfThatDrive) {
  // A drive of our own over a scratch folder (a link in the bench prefix's
  // dosdevices, which only this test adds and removes), so its root is ours to clear.
  std::string root = dir_ + "\\drive-root";
  make_dir(root);
  ASSERT_TRUE(write_file(root + "\\top.txt", "t"));
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || file_exists("R:\\") || !make_unix_link(std::string(prefix) + "/dosdevices/r:", unix_path_of(root)) ||
      !file_exists("R:\\top.txt")) {
    if (prefix) remove_unix_link(std::string(prefix) + "/dosdevices/r:");
    GTEST_SKIP() << "no drive letter could be mapped over a scratch folder";
  }
  std::string path = "R:";
  remove_directory_contents(path, add_task(path, "子目录", "删除"));
  remove_unix_link(std::string(prefix) + "/dosdevices/r:");
  EXPECT_EQ(path, "R:\\");
  EXPECT_FALSE(file_exists(root + "\\top.txt"));
  EXPECT_EQ(removal_lines(), "R:\\top.txt 删除完成\n");
}

// Directory links met anywhere: never followed, never removed, never recycled.
class LinkTrap : public RemovalTest {
 protected:
  void SetUp() override {
    RemovalTest::SetUp();
    outside_ = dir_ + "\\outside";
    make_dir(outside_);
    make_dir(outside_ + "\\deep");
    ASSERT_TRUE(write_file(outside_ + "\\keep.txt", "k"));
    ASSERT_TRUE(write_file(outside_ + "\\deep\\keep2.txt", "k"));
  }
  void expect_outside_untouched(const std::string& what) {
    EXPECT_TRUE(file_exists(outside_ + "\\keep.txt")) << what;
    EXPECT_TRUE(file_exists(outside_ + "\\deep\\keep2.txt")) << what;
  }
  std::string outside_;
};

TEST_F(LinkTrap, NoKindAndNoMethodReachesThroughALink) {
  const char* kinds[] = {"文件", "目录", "子目录"};
  const char* methods[] = {"删除", "回收站"};
  int serial = 0;
  for (const char* kind : kinds) {
    for (const char* method : methods) {
      // task\  a.txt, link -> outside, sub\ (b.txt, inner-link -> outside)
      std::string task = dir_ + "\\task" + std::to_string(++serial);
      make_dir(task);
      make_dir(task + "\\sub");
      ASSERT_TRUE(write_file(task + "\\a.txt", "a"));
      ASSERT_TRUE(write_file(task + "\\sub\\b.txt", "b"));
      ASSERT_TRUE(make_directory_link(task + "\\link", outside_));
      ASSERT_TRUE(make_directory_link(task + "\\sub\\inner-link", outside_));
      std::string case_name = std::string(kind) + "/" + method;
      std::string targets[] = {task, task + "\\link", task + "\\link\\", task + "\\link\\keep.txt",
                               task + "\\link\\deep", task + "\\li*"};
      for (const std::string& target : targets) {
        std::string path = target;
        int32_t row = add_task(path, kind, method);
        if (kind == kinds[0]) remove_file_target(path, row);
        if (kind == kinds[1]) remove_directory_target(path, row);
        if (kind == kinds[2]) remove_directory_contents(path, row);
        expect_outside_untouched(case_name + " on " + target);
        EXPECT_TRUE(file_exists(task + "\\link")) << case_name << " on " << target;
      }
      EXPECT_TRUE(file_exists(task + "\\sub\\inner-link")) << case_name;
    }
  }
}

TEST_F(LinkTrap, ATreeHoldingALinkLosesEverythingElseOnDelete) {
  std::string task = dir_ + "\\task";
  make_dir(task);
  make_dir(task + "\\sub");
  ASSERT_TRUE(write_file(task + "\\a.txt", "a"));
  ASSERT_TRUE(write_file(task + "\\sub\\b.txt", "b"));
  ASSERT_TRUE(make_directory_link(task + "\\sub\\link", outside_));
  remove_directory_target(task, add_task(task, "目录", "删除"));
  EXPECT_FALSE(file_exists(task + "\\a.txt"));
  EXPECT_FALSE(file_exists(task + "\\sub\\b.txt"));
  EXPECT_TRUE(file_exists(task + "\\sub\\link"));
  expect_outside_untouched("tree delete");
  EXPECT_EQ(removal_lines(), "");

  // The same tree is not handed to the Recycle Bin: the shell would go through the link.
  ASSERT_TRUE(write_file(task + "\\c.txt", "c"));
  remove_directory_target(task, add_task(task, "目录", "回收站"));
  EXPECT_TRUE(file_exists(task + "\\c.txt"));
  expect_outside_untouched("tree recycle");
  // A contents task takes the entries that hold no link.
  std::string path = task;
  remove_directory_contents(path, add_task(task, "子目录", "回收站"));
  EXPECT_FALSE(file_exists(task + "\\c.txt"));
  EXPECT_TRUE(file_exists(task + "\\sub\\link"));
  expect_outside_untouched("contents recycle");
  EXPECT_EQ(removal_lines(), task + "\\c.txt 移动到回收站\n");
}

// The program's own files and exe_dir are never removed by a task.
class OwnFiles : public RemovalTest {
 protected:
  void SetUp() override {
    RemovalTest::SetUp();
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    exe_name_ = module;
    exe_name_ = exe_name_.substr(exe_name_.rfind('\\') + 1);
    fill();
  }
  void fill() {
    ASSERT_TRUE(write_file(dir_ + "\\cfg.ini", "[Sweepwarden]\r\nnum=0\r\n"));
    ASSERT_TRUE(write_file(dir_ + "\\" + exe_name_, "MZ"));
    ASSERT_TRUE(write_file(dir_ + "\\other.txt", "o"));
    make_dir(dir_ + "\\sub");
    ASSERT_TRUE(write_file(dir_ + "\\sub\\s.txt", "s"));
    append_log("seed");
  }
  void expect_own_files_kept(const std::string& what) {
    EXPECT_TRUE(file_exists(dir_)) << what;
    EXPECT_TRUE(file_exists(dir_ + "\\cfg.ini")) << what;
    EXPECT_TRUE(file_exists(dir_ + "\\log.txt")) << what;
    EXPECT_TRUE(file_exists(dir_ + "\\" + exe_name_)) << what;
  }
  std::string exe_name_;
};

TEST_F(OwnFiles, AContentsTaskOnExeDirTakesOnlyTheOtherEntries) {
  for (const char* method : {"删除", "回收站"}) {
    std::string path = dir_;
    remove_directory_contents(path, add_task(dir_, "子目录", method));
    expect_own_files_kept(method);
    EXPECT_FALSE(file_exists(dir_ + "\\other.txt")) << method;
    EXPECT_FALSE(file_exists(dir_ + "\\sub")) << method;
    fill();
  }
  EXPECT_EQ(point, 4);
}

TEST_F(OwnFiles, TreeAndFileTasksLeaveThemWhateverTheSpelling) {
  std::string parent = dir_.substr(0, dir_.rfind('\\'));
  std::string upper_cfg = dir_ + "\\CFG.INI";
  std::string roundabout = dir_ + "\\sub\\..\\log.txt";
  for (const char* method : {"删除", "回收站"}) {
    for (const std::string& file : {upper_cfg, roundabout, dir_ + "\\" + exe_name_, dir_ + "\\*.ini"})
      remove_file_target(file, add_task(file, "文件", method));
    remove_directory_target(dir_, add_task(dir_, "目录", method));
    expect_own_files_kept(method);
  }
  // Delete cleared the rest of exe_dir; exe_dir itself stayed and nothing was logged.
  EXPECT_FALSE(file_exists(dir_ + "\\other.txt"));
  EXPECT_EQ(removal_lines(), "");
  EXPECT_EQ(point, 0);
  // A tree task on the folder above exe_dir: never to the Recycle Bin, and exe_dir stays.
  std::string above = make_scratch_dir("above-exe-dir");
  std::string inner = above + "\\app";
  make_dir(inner);
  exe_dir = inner;
  ASSERT_TRUE(write_file(inner + "\\cfg.ini", "c"));
  ASSERT_TRUE(write_file(above + "\\x.txt", "x"));
  remove_directory_target(above, add_task(above, "目录", "回收站"));
  EXPECT_TRUE(file_exists(above + "\\x.txt"));
  remove_directory_target(above, add_task(above, "目录", "删除"));
  EXPECT_FALSE(file_exists(above + "\\x.txt"));
  EXPECT_TRUE(file_exists(inner + "\\cfg.ini"));
  exe_dir = dir_;
}

}  // namespace
