// A Recycle Bin that cannot be made: XDG_DATA_HOME names a plain file, so the
// shell has no Trash. It would then delete outright and report success; the
// removal must remove nothing and log nothing instead. Its own exe: the shell
// sets its Trash up once per process.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "core/app_state.h"
#include "removal/file_services.h"
#include "removal/removal_actions.h"
#include "tests/bench_env.h"
#include "tests/removal_fixture.h"

namespace {

class NoTrash : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string dir = make_scratch_dir("not-a-data-home");
    std::string plain = dir + "\\plain-file";
    write_file(plain, "not a folder");
    SetEnvironmentVariableA("XDG_DATA_HOME", unix_path_of(plain).c_str());
  }
};
const ::testing::Environment* const kNoTrash = ::testing::AddGlobalTestEnvironment(new NoTrash);

using RecycleWithoutTrash = RemovalTest;

TEST_F(RecycleWithoutTrash, TheShellWouldDeleteOutrightAndSayNothing) {
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof info;
  EXPECT_TRUE(FAILED(SHQueryRecycleBinA("S:\\", &info)));
  // What the shell does when asked anyway: success, and the file is gone for good.
  std::string file = dir_ + "\\asked-anyway.txt";
  ASSERT_TRUE(write_file(file, "x"));
  std::string from = file + std::string(2, '\0');
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  EXPECT_EQ(SHFileOperationA(&operation), 0);
  EXPECT_FALSE(operation.fAnyOperationsAborted);
  EXPECT_FALSE(file_exists(file));
}

TEST_F(RecycleWithoutTrash, NoKindRemovesOrLogsAnything) {
  std::string file = dir_ + "\\file.txt", tree = dir_ + "\\tree", box = dir_ + "\\box";
  ASSERT_TRUE(write_file(file, "f"));
  make_dir(tree);
  ASSERT_TRUE(write_file(tree + "\\in.txt", "i"));
  make_dir(box);
  ASSERT_TRUE(write_file(box + "\\entry.txt", "e"));
  EXPECT_FALSE(move_to_recycle_bin(file));
  remove_file_target(file, add_task(file, "文件", "回收站"));
  remove_directory_target(tree, add_task(tree, "目录", "回收站"));
  std::string path = box;
  remove_directory_contents(path, add_task(box, "子目录", "回收站"));
  EXPECT_TRUE(file_exists(file));
  EXPECT_TRUE(file_exists(tree + "\\in.txt"));
  EXPECT_TRUE(file_exists(box + "\\entry.txt"));
  EXPECT_EQ(removal_lines(), "");
  EXPECT_EQ(point, 0);
  EXPECT_EQ(label(), "0");
}

}  // namespace
