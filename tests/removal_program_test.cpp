// The real exe under Wine with a hand-written cfg.ini: its own one-second timer
// carries the tasks out.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/bench_env.h"
#include "ui/main_window.h"

namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TimerRun, TheRealTimerCarriesOutEachKind) {
  std::string dir = make_scratch_dir("timer-run");
  std::string app = dir + "\\app", victim = dir + "\\victim.txt", box = dir + "\\box", tree = dir + "\\tree";
  make_dir(app);
  ASSERT_TRUE(write_file(victim, "v"));
  make_dir(box);
  ASSERT_TRUE(write_file(box + "\\entry.txt", "e"));
  make_dir(tree);
  ASSERT_TRUE(write_file(tree + "\\in.txt", "i"));
  std::string config = "[Sweepwarden]\r\nnum=4\r\npoint=10\r\n"
                       "[1]\r\nfile=" + victim + "\r\nmode=1\r\ndel_mode=1\r\ntime=1\r\nremark=file\r\n"
                       "[2]\r\nfile=" + box + "\r\nmode=3\r\ndel_mode=1\r\ntime=2\r\nremark=contents\r\n"
                       "[3]\r\nfile=" + tree + "\r\nmode=2\r\ndel_mode=1\r\ntime=2\r\nremark=tree\r\n"
                       "[4]\r\nfile=" + app + "\r\nmode=3\r\ndel_mode=1\r\ntime=0\r\nremark=never due\r\n";
  ASSERT_TRUE(write_file(app + "\\cfg.ini", config));
  RunningProgram program;
  ASSERT_TRUE(program.start(app));
  std::string log = app + "\\log.txt";
  ASSERT_TRUE(wait_for_file(log, [](const std::string& text) { return has(text, "主窗口载入完成"); }, kProgramStartTimeout));
  if (!has(read_file(log), "配置读入完成")) GTEST_SKIP() << "this build does not read cfg.ini yet";
  bool all = wait_for_file(
      log,
      [&](const std::string& text) {
        return has(text, victim + " 删除完成") && has(text, box + "\\entry.txt 删除完成") && has(text, tree + " 删除完成");
      },
      15000);
  std::string messages = log_messages(read_file(log));
  EXPECT_TRUE(all) << messages;
  EXPECT_FALSE(file_exists(victim));
  EXPECT_FALSE(file_exists(box + "\\entry.txt"));
  EXPECT_TRUE(file_exists(box));
  EXPECT_FALSE(file_exists(tree));
  // The row with period 0 neither ran nor stopped the program.
  EXPECT_TRUE(file_exists(app + "\\cfg.ini"));
  DWORD code = 12345;
  EXPECT_FALSE(program.wait_exit(0, &code));

  // The file comes back: the next tick of period 1 takes it again.
  ASSERT_TRUE(write_file(victim, "again"));
  EXPECT_TRUE(wait_for_file(
      log, [&](const std::string& text) { return text.find(victim + " 删除完成") != text.rfind(victim + " 删除完成"); },
      5000));
  HWND window = program.main_window();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.wait_exit(15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(has(read_file(app + "\\cfg.ini"), "point=14"));
}

}  // namespace
