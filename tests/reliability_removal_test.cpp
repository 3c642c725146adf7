// Removal under faults: entries that come and go while a tree is cleared, targets
// that change kind between ticks, folders that cannot be listed, long paths, and
// names that trip byte-wise code.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "core/app_state.h"
#include "core/task_table.h"
#include "removal/file_services.h"
#include "removal/removal_actions.h"
#include "removal/scheduler.h"
#include "tests/bench_env.h"
#include "tests/removal_fixture.h"

namespace {

class ScratchTrash : public ::testing::Environment {
 public:
  void SetUp() override { use_scratch_trash(); }
};
const ::testing::Environment* const kTrash = ::testing::AddGlobalTestEnvironment(new ScratchTrash);

// Linux chmod on a scratch path (the test runs as the folder's owner).
bool unix_chmod(const std::string& scratch_path, long mode) {
#if defined(__x86_64__)
  std::string path = unix_path_of(scratch_path);
  long result;
  asm volatile("syscall" : "=a"(result) : "a"(90L), "D"(path.c_str()), "S"(mode) : "rcx", "r11", "memory");
  return result == 0;
#else
  (void)scratch_path;
  (void)mode;
  return false;
#endif
}

long unix_call(long number, const char* path, long arg1, long arg2) {
#if defined(__x86_64__)
  long result;
  register long r10 asm("r10") = 0;
  asm volatile("syscall" : "=a"(result) : "a"(number), "D"(path), "S"(arg1), "d"(arg2), "r"(r10) : "rcx", "r11", "memory");
  return result;
#else
  (void)number, (void)path, (void)arg1, (void)arg2;
  return -1;
#endif
}

// Made from the Linux side: the platform's ANSI calls refuse paths this long.
bool unix_mkdir(const std::string& scratch_path) { return unix_call(83, unix_path_of(scratch_path).c_str(), 0755, 0) == 0; }
bool unix_touch(const std::string& scratch_path) {
  long fd = unix_call(2, unix_path_of(scratch_path).c_str(), 0x41 /* O_WRONLY | O_CREAT */, 0644);
  if (fd < 0) return false;
  unix_call(3, reinterpret_cast<const char*>(fd), 0, 0);
  return true;
}

void make_tree(const std::string& root, int folders, int files_each) {
  make_dir(root);
  for (int d = 0; d < folders; ++d) {
    std::string folder = root + "\\d" + std::to_string(d);
    make_dir(folder);
    for (int f = 0; f < files_each; ++f) write_file(folder + "\\f" + std::to_string(f) + ".tmp", "x");
  }
}

int count_entries(const std::string& folder) {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    ++count;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += count_entries(folder + "\\" + name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

int count_of(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

using Faults = RemovalTest;

TEST_F(Faults, EntriesThatComeAndGoWhileATreeIsClearedCrashNothing) {
  std::string root = dir_ + "\\churn";
  make_tree(root, 20, 20);
  std::atomic<bool> stop{false};
  // Another thread adds and deletes files in the tree all along.
  HANDLE churn = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* args = static_cast<std::pair<std::string, std::atomic<bool>*>*>(p);
        for (int i = 0; !args->second->load(); ++i) {
          std::string folder = args->first + "\\d" + std::to_string(i % 20);
          std::string file = folder + "\\new" + std::to_string(i % 7) + ".tmp";
          write_file(file, "n");
          if (i % 3 == 0) DeleteFileA((folder + "\\f" + std::to_string(i % 20) + ".tmp").c_str());
          if (i % 5 == 0) DeleteFileA(file.c_str());
        }
        return 0;
      },
      new std::pair<std::string, std::atomic<bool>*>(root, &stop), 0, nullptr);
  for (int pass = 0; pass < 5; ++pass) {
    remove_directory_target(root, add_task(root, "目录", "删除"));
    std::string contents = root;
    remove_directory_contents(contents, add_task(root, "子目录", "删除"));
  }
  stop = true;
  WaitForSingleObject(churn, INFINITE);
  CloseHandle(churn);
  // With the churn over, one more pass takes the rest.
  remove_directory_target(root, add_task(root, "目录", "删除"));
  EXPECT_FALSE(file_exists(root));
  EXPECT_EQ(point, count_of(log_buffer, " 删除完成\r\n"));
}

TEST_F(Faults, ATargetThatChangesKindBetweenTicksIsLeftOrTakenCleanly) {
  std::string path = dir_ + "\\shifting";
  make_dir(path);
  write_file(path + "\\in.txt", "x");
  add_task(path, "目录", "删除");
  on_tick();
  EXPECT_FALSE(file_exists(path));
  write_file(path, "now a file");  // the folder became a file
  on_tick();
  EXPECT_TRUE(file_exists(path));  // a directory task removes no file
  set_cell(0, COL_MODE, "子目录");
  on_tick();
  EXPECT_TRUE(file_exists(path));  // nor does a contents task
  set_cell(0, COL_MODE, "文件");
  on_tick();
  EXPECT_FALSE(file_exists(path));
  make_dir(path);  // and back to a folder: a file task with delete leaves it
  on_tick();
  EXPECT_TRUE(file_exists(path));
  EXPECT_EQ(removal_lines(), path + " 删除完成\n" + path + " 删除完成\n");
}

TEST_F(Faults, AFolderThatCannotBeListedStaysAndTheRestGoes) {
  std::string root = dir_ + "\\closed-inside";
  make_tree(root, 3, 2);
  std::string closed = root + "\\d1";
  ASSERT_TRUE(unix_chmod(closed, 0));
  std::string contents = root;
  remove_directory_contents(contents, add_task(root, "子目录", "删除"));
  unix_chmod(closed, 0755);
  EXPECT_FALSE(file_exists(root + "\\d0"));
  EXPECT_FALSE(file_exists(root + "\\d2"));
  EXPECT_TRUE(file_exists(closed + "\\f0.tmp"));
  EXPECT_EQ(removal_lines(), root + "\\d0 删除完成\n" + root + "\\d2 删除完成\n");

  // A directory task on a tree holding it: the rest is removed, the folder stays.
  ASSERT_TRUE(unix_chmod(closed, 0));
  write_file(root + "\\loose.txt", "x");
  remove_directory_target(root, add_task(root, "目录", "删除"));
  unix_chmod(closed, 0755);
  EXPECT_TRUE(file_exists(closed + "\\f0.tmp"));
  EXPECT_FALSE(file_exists(root + "\\loose.txt"));
}

// Folders nested until the full path passes the given length.
std::string make_deep_tree(const std::string& root, size_t length) {
  make_dir(root);
  std::string folder = root;
  while (folder.size() < length) {
    folder += "\\" + std::string(40, 'n');
    if (!unix_mkdir(folder) || !unix_touch(folder + "\\file.txt")) return std::string();
  }
  return folder;
}

bool unix_exists(const std::string& scratch_path) {
  return unix_call(21, unix_path_of(scratch_path).c_str(), 0 /* F_OK */, 0) == 0;
}

// The ANSI calls stop at MAX_PATH: a tree that goes deeper is left whole by
// delete, rather than cleared down to where the calls stop; the Recycle Bin moves
// it whole.
TEST_F(Faults, TreesDeeperThanTheAnsiLimitAreLeftWholeOrMovedWhole) {
  std::string root = dir_ + "\\deep";
  std::string deepest = make_deep_tree(root, 400);
  ASSERT_FALSE(deepest.empty()) << "cannot make a path of 400 bytes";
  std::string shallow = root + "\\" + std::string(40, 'n') + "\\file.txt";
  ASSERT_TRUE(file_exists(shallow));
  EXPECT_FALSE(file_exists(deepest));  // out of the ANSI calls' reach
  ASSERT_TRUE(write_file(root + "\\loose.txt", "x"));

  remove_directory_target(root, add_task(root, "目录", "删除"));
  EXPECT_TRUE(file_exists(shallow));
  EXPECT_TRUE(file_exists(root + "\\loose.txt"));
  EXPECT_TRUE(unix_exists(deepest + "\\file.txt"));

  // A contents task takes what is within reach and leaves the deep folder whole.
  std::string contents = root;
  remove_directory_contents(contents, add_task(root, "子目录", "删除"));
  EXPECT_FALSE(file_exists(root + "\\loose.txt"));
  EXPECT_TRUE(file_exists(shallow));
  EXPECT_TRUE(unix_exists(deepest + "\\file.txt"));
  EXPECT_EQ(removal_lines(), root + "\\loose.txt 删除完成\n");

  remove_directory_target(root, add_task(root, "目录", "回收站"));
  EXPECT_FALSE(file_exists(root));
  EXPECT_TRUE(file_exists(trash_files() + "\\deep"));
}

// Names that trip byte-wise code: GBK characters whose second byte is "\\" (0x5C),
// blanks, dots and brackets; in every kind and method.
TEST_F(Faults, AwkwardNamesInEveryKind) {
  const char* names[] = {"\xD5\x5C", "a \x81\x5C b", "dots..in.name", "[brackets] (and) {more}", " lead blank"};
  struct Kind {
    const char* mode;
    const char* method;
  } kinds[] = {{"文件", "删除"}, {"文件", "回收站"}, {"目录", "删除"}, {"目录", "回收站"}, {"子目录", "删除"}, {"子目录", "回收站"}};
  int serial = 0;
  for (const Kind& kind : kinds)
    for (const char* name : names) {
      std::string holder = dir_ + "\\k" + std::to_string(serial++);
      make_dir(holder);
      std::string target = holder + "\\" + name;
      bool folder = std::string(kind.mode) != "文件";
      if (folder) {
        make_dir(target);
        ASSERT_TRUE(write_file(target + "\\" + name + ".txt", "x")) << target;
      } else {
        ASSERT_TRUE(write_file(target, "x")) << target;
      }
      ASSERT_TRUE(write_file(holder + "\\sibling" + name, "keep"));
      std::string path = target;
      int32_t row = add_task(target, kind.mode, kind.method);
      if (std::string(kind.mode) == "文件") remove_file_target(path, row);
      if (std::string(kind.mode) == "目录") remove_directory_target(path, row);
      if (std::string(kind.mode) == "子目录") remove_directory_contents(path, row);
      SCOPED_TRACE(std::string(kind.mode) + kind.method + " [" + name + "]");
      EXPECT_TRUE(file_exists(holder + "\\sibling" + name));
      if (std::string(kind.mode) == "子目录") {
        EXPECT_TRUE(file_exists(target));
        EXPECT_FALSE(file_exists(target + "\\" + name + ".txt"));
      } else {
        EXPECT_FALSE(file_exists(target));
      }
    }
  EXPECT_EQ(point, 30);
}

}  // namespace
