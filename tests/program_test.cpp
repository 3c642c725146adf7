// The real exe, started under Wine in a folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/bench_env.h"
#include "ui/main_window.h"

namespace {

TEST(Bench, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

TEST(Program, FirstRunInAnEmptyFolderLogsTwoLinesAndExitsWithZero) {
  std::string dir = make_scratch_dir("first-run");
  RunningProgram program;
  ASSERT_TRUE(program.start(dir));
  std::string log = dir + "\\log.txt";
  ASSERT_TRUE(wait_for_file(log, [](const std::string& text) { return text.find("主窗口载入完成") != std::string::npos; },
                            kProgramStartTimeout));
  Sleep(300);
  std::string text = read_file(log);
  EXPECT_EQ(log_messages(text), "第一次运行，创建日志文件\n主窗口载入完成\n");
  // Exactly two lines, each ending in CR LF, in GBK.
  size_t first = text.find("\r\n");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find("\r\n", first + 2), text.size() - 2);
  EXPECT_NE(text.find("\xB5\xDA\xD2\xBB\xB4\xCE\xD4\xCB\xD0\xD0"), std::string::npos);  // 第一次运行 in GBK
  EXPECT_FALSE(file_exists(dir + "\\cfg.ini"));

  HWND window = program.main_window();
  ASSERT_NE(window, nullptr);
  char title[64] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Sweep Warden");
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  DWORD code = 12345;
  ASSERT_TRUE(program.wait_exit(15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(log_messages(read_file(log)), "第一次运行，创建日志文件\n主窗口载入完成\n配置写入完成\n正在退出程序\n");
}

TEST(Program, SecondRunReplacesTheOldLog) {
  std::string dir = make_scratch_dir("second-run");
  ASSERT_TRUE(write_file(dir + "\\log.txt", "2020年1月1日 old line\r\n"));
  RunningProgram program;
  ASSERT_TRUE(program.start(dir));
  ASSERT_TRUE(wait_for_file(dir + "\\log.txt",
                            [](const std::string& text) { return text.find("主窗口载入完成") != std::string::npos; },
                            kProgramStartTimeout));
  EXPECT_EQ(log_messages(read_file(dir + "\\log.txt")), "主窗口载入完成\n");
  program.kill();
}

}  // namespace
