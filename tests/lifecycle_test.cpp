// Start-up, the orderly exit and the fatal stop, each in a child process where it ends one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "core/app_state.h"
#include "persist/activity_log.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"

namespace {

// Child: logs one line in the given folder, then stops fatally.
ChildAction fatal_child("fatal_stop", [](const std::string& dir) -> int {
  exe_dir = dir;
  append_log("before");
  fatal_stop("不能求余数于零");
});

const size_t kHugeSize = sizeof(size_t) == 8 ? static_cast<size_t>(1) << 62 : 0xFFFFFFF0u;

// Child: asks for more memory than there is.
ChildAction allocation_child("allocation", [](const std::string&) -> int {
  void* volatile block = ::operator new(kHugeSize);
  return block ? 0 : 1;
});

std::string marker_file;
void write_marker() { write_file(marker_file, read_file(marker_file) + "ran\n"); }

// Child: one exit routine registered twice, then the orderly exit with code 7.
ChildAction exit_child("orderly_exit", [](const std::string& dir) -> int {
  marker_file = dir + "\\marker.txt";
  register_exit_routine(write_marker);
  register_exit_routine(write_marker);
  register_exit_routine(release_globals);
  orderly_exit(7);
});

struct StopCase {
  const char* child;
  const char* message;
};

TEST(FatalStop, ShowsOneErrorBoxAndEndsWithMinusOne) {
  const StopCase cases[] = {
      {"fatal_stop", "不能求余数于零"},
      {"allocation", nullptr},
  };
  for (const StopCase& c : cases) {
    std::string dir = make_scratch_dir(std::string("fatal-") + c.child);
    MessageBoxWatcher watcher("错误");
    HANDLE child = start_child(std::string(c.child) + ":" + dir);
    ASSERT_NE(child, nullptr);
    std::string text = watcher.wait_one(20000);
    EXPECT_EQ(text.rfind("运行时出错!\r\n错误信息：", 0), 0u) << text;
    if (c.message) {
      EXPECT_NE(text.find(std::string("错误信息：") + c.message + "\r\n"), std::string::npos) << text;
      EXPECT_EQ(log_messages(read_file(dir + "\\log.txt")), "before\n");
    } else {
      EXPECT_NE(text.find("字节内存失败!"), std::string::npos) << text;
      EXPECT_NE(text.find("分配 " + std::to_string(kHugeSize)),
                std::string::npos)
          << text;
    }
    ASSERT_EQ(WaitForSingleObject(child, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(child, &code);
    EXPECT_EQ(code, static_cast<DWORD>(-1)) << c.child;
    CloseHandle(child);
  }
}

TEST(OrderlyExit, RunsEachExitRoutineOnceAndEndsWithItsCode) {
  std::string dir = make_scratch_dir("orderly-exit");
  HANDLE child = start_child("orderly_exit:" + dir);
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(WaitForSingleObject(child, 20000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(child, &code);
  CloseHandle(child);
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(read_file(dir + "\\marker.txt"), "ran\n");
}

TEST(ReleaseGlobals, EmptiesTheLogBufferAndTheDroppedPath) {
  log_buffer = "line\r\n";
  dropped_path = "S:\\x";
  release_globals();
  EXPECT_TRUE(log_buffer.empty());
  EXPECT_TRUE(dropped_path.empty());
}

TEST(ExeDir, IsTheModuleFolderAndTheCurrentDirectory) {
  char saved[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, saved);
  fix_exe_dir();
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string expected = module;
  expected = expected.substr(0, expected.rfind('\\'));
  EXPECT_EQ(exe_dir, expected);
  char current[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current), expected);
  EXPECT_EQ(config_path(), expected + "\\cfg.ini");
  EXPECT_EQ(log_path(), expected + "\\log.txt");
  SetCurrentDirectoryA(saved);
}

}  // namespace
