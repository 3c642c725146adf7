// One program per folder, with the real exe.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/bench_env.h"

namespace {

bool log_has(const std::string& dir, const char* message) {
  return wait_for_file(dir + "\\log.txt", [&](const std::string& text) { return text.find(message) != std::string::npos; },
                       kProgramStartTimeout);
}

TEST(SingleInstance, ASecondStartFromTheSameFolderShowsTheFirstAndEnds) {
  std::string dir = make_scratch_dir("instance-same");
  RunningProgram first;
  ASSERT_TRUE(first.start(dir));
  ASSERT_TRUE(log_has(dir, "主窗口载入完成"));
  HWND window = first.main_window();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);  // to the tray
  ASSERT_TRUE(pump_until([&] { return !IsWindowVisible(window); }, 5000));
  std::string log_before = read_file(dir + "\\log.txt");

  RunningProgram second;
  ASSERT_TRUE(second.start_existing(dir));
  DWORD code = 12345;
  ASSERT_TRUE(second.wait_exit(15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(pump_until([&] { return IsWindowVisible(window) != 0; }, 5000));
  EXPECT_EQ(read_file(dir + "\\log.txt"), log_before);
  EXPECT_FALSE(file_exists(dir + "\\cfg.ini"));
  EXPECT_EQ(WaitForSingleObject(first.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(SingleInstance, CopiesInDifferentFoldersRunSideBySide) {
  std::string dir_a = make_scratch_dir("instance-a");
  std::string dir_b = make_scratch_dir("instance-b");
  RunningProgram a, b;
  ASSERT_TRUE(a.start(dir_a));
  ASSERT_TRUE(b.start(dir_b));
  EXPECT_TRUE(log_has(dir_a, "主窗口载入完成"));
  EXPECT_TRUE(log_has(dir_b, "主窗口载入完成"));
  EXPECT_NE(a.main_window(), nullptr);
  EXPECT_NE(b.main_window(), nullptr);
  EXPECT_EQ(WaitForSingleObject(a.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(b.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
