// The real exe started on damaged cfg.ini files: each time it starts, carries out
// ticks (a one-second task removes a file) and exits normally.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "tests/bench_env.h"
#include "ui/main_window.h"

namespace {

std::string task_section(int number, const std::string& victim) {
  return "[" + std::to_string(number) + "]\r\nfile=" + victim + "\r\nmode=1\r\ndel_mode=1\r\ntime=1\r\nremark=\r\n";
}

std::string junk(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    out[i] = static_cast<char>(seed >> 24);
  }
  return out;
}

std::string utf16le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

struct Damage {
  const char* name;
  std::string (*make)(const std::string& victim);
};

const Damage kDamages[] = {
    {"binary junk", [](const std::string& v) {
       return junk(200000, 7) + "\r\n[Sweepwarden]\r\nnum=1\r\n" + task_section(1, v) + junk(5000, 9);
     }},
    {"50 MB file", [](const std::string& v) {
       std::string lines;
       lines.reserve(50u << 20);
       while (lines.size() < (50u << 20)) lines += "junkkey=some value that fills the file\r\n";
       return "[Sweepwarden]\r\nnum=1\r\n" + task_section(1, v) + "[filler]\r\n" + lines;
     }},
    {"10 MB value", [](const std::string& v) {
       return "[Sweepwarden]\r\nnum=2\r\n" + task_section(1, v) + "[2]\r\nfile=S:\\none\r\nremark=" +
              std::string(10u << 20, 'r') + "\r\n";
     }},
    {"num of 2^31-1", [](const std::string& v) { return "[Sweepwarden]\r\nnum=2147483647\r\n" + task_section(1, v); }},
    {"negative periods", [](const std::string& v) {
       std::string s = task_section(1, v);
       s.replace(s.find("time=1"), 6, "time=-1");
       return "[Sweepwarden]\r\nnum=3\r\npoint=-5\r\n" + s + "[2]\r\nfile=S:\\none\r\ntime=-2147483648\r\n[3]\r\ntime=-7\r\n";
     }},
    {"nested brackets", [](const std::string& v) {
       std::string deep(100000, '[');
       return deep + std::string(100000, ']') + "\r\n[[[1]]]\r\nfile=x\r\n[Sweepwarden]\r\nnum=1\r\n" +
              task_section(1, v) + deep + "\r\n";
     }},
    {"UTF-8 byte-order mark", [](const std::string& v) {
       return "\xEF\xBB\xBF[Sweepwarden]\r\nnum=1\r\n" + task_section(1, v);
     }},
    {"UTF-16 byte-order mark", [](const std::string& v) {
       return utf16le("[Sweepwarden]\r\nnum=1\r\n" + task_section(1, v));
     }},
};

TEST(DamagedConfig, StartsRunsTicksAndExits) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.name);
    std::string dir = make_scratch_dir("damaged");
    std::string victim = dir + "\\victim.txt";
    ASSERT_TRUE(write_file(victim, "x"));
    ASSERT_TRUE(write_file(dir + "\\cfg.ini", damage.make(victim)));
    RunningProgram program;
    ASSERT_TRUE(program.start(dir));
    std::string log = dir + "\\log.txt";
    EXPECT_TRUE(wait_for_file(log, [](const std::string& t) { return t.find("主窗口载入完成") != std::string::npos; },
                              60000));
    // The one-second task proves that ticks run.
    EXPECT_TRUE(wait_for_file(log, [&](const std::string& t) { return t.find(victim + " 删除完成") != std::string::npos; },
                              20000));
    EXPECT_FALSE(file_exists(victim));
    HWND window = program.main_window();
    ASSERT_NE(window, nullptr);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    DWORD code = 12345;
    ASSERT_TRUE(program.wait_exit(60000, &code));
    EXPECT_EQ(code, 0u);
    std::string messages = log_messages(read_file(log));
    EXPECT_NE(messages.find("配置写入完成\n正在退出程序\n"), std::string::npos) << messages.substr(0, 500);
  }
}

}  // namespace
