// The real program killed while it saves: cfg.ini is always either the file as
// it was before the save or the whole new one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/text_number.h"
#include "persist/config_file.h"
#include "tests/bench_env.h"
#include "ui/main_window.h"

namespace {

const int kTasks = 3000;
const int kKills = 30;

// Written by hand, so that the saved form differs: odd key order, extra keys, time=0060.
std::string hand_written_table() {
  std::string text = "[Sweepwarden]\r\npoint=77\r\nnum=" + std::to_string(kTasks) + "\r\nwindow=left\r\n";
  for (int i = 1; i <= kTasks; ++i) {
    text += "[" + std::to_string(i) + "]\r\ntime=0060\r\nremark= note " + std::to_string(i) +
            "\r\nfile=S:\\kill\\目录" + std::to_string(i) + "\\file.tmp\r\nmode=1\r\ndel_mode=" +
            std::to_string(1 + i % 2) + "\r\ncolour=blue\r\n";
  }
  return text;
}

// The table a file holds, as loading reads it.
std::string saved_table_of(const std::string& path) {
  IniDocument file = ini_load(path);
  auto number = [&](const std::string& section, const char* key, const char* fallback) {
    return std::to_string(text_to_int(ini_read(file, section, key, fallback)));
  };
  std::string out = number("Sweepwarden", "num", "0") + "/" + number("Sweepwarden", "point", "0");
  for (int i = 1; i <= kTasks; ++i) {
    std::string s = std::to_string(i);
    out += "|" + ini_read(file, s, "file") + "," + number(s, "mode", "3") + "," + number(s, "del_mode", "2") + "," +
           number(s, "time", "3600") + "," + ini_read(file, s, "remark");
  }
  return out;
}

// Starts the program on the old file and has it save and exit; kills it after
// delay_ms when delay_ms is not negative. Otherwise returns the milliseconds from
// the request until the save was logged.
DWORD save_and_exit(const std::string& dir, const std::string& old_text, int delay_ms) {
  EXPECT_TRUE(write_file(dir + "\\cfg.ini", old_text));
  DeleteFileA((dir + "\\log.txt").c_str());
  RunningProgram program;
  if (!program.start(dir)) {
    ADD_FAILURE() << "program did not start";
    return 0;
  }
  bool loaded = wait_for_file(
      dir + "\\log.txt", [](const std::string& text) { return text.find("主窗口载入完成") != std::string::npos; },
      30000);
  HWND window = program.main_window();
  if (!loaded || !window) {
    ADD_FAILURE() << "program did not load its table (log: " << log_messages(read_file(dir + "\\log.txt"))
                  << ", window " << (window ? "found" : "not found") << ")";
    return 0;
  }
  DWORD start = GetTickCount();
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  DWORD code = 0;
  if (delay_ms >= 0) {
    if (delay_ms > 0) Sleep(static_cast<DWORD>(delay_ms));
    program.kill();
    return 0;
  }
  std::string log = dir + "\\log.txt";
  while (read_file(log).find("配置写入完成") == std::string::npos && GetTickCount() - start < 30000) Sleep(1);
  DWORD saved = GetTickCount() - start;
  EXPECT_TRUE(program.wait_exit(30000, &code));
  return saved;
}

TEST(ConfigKill, CfgIniIsAlwaysTheOldFileOrTheWholeNewOne) {
  std::string dir = make_scratch_dir("config-kill");
  std::string cfg = dir + "\\cfg.ini", temporary = dir + "\\cfg.ini.saving";
  const std::string old_text = hand_written_table();
  ASSERT_TRUE(write_file(cfg, old_text));
  const std::string table = saved_table_of(cfg);

  DWORD save_ms = save_and_exit(dir, old_text, -1);
  const std::string new_text = read_file(cfg);
  ASSERT_NE(new_text, old_text);
  ASSERT_TRUE(saved_table_of(cfg) == table) << "the save must keep the table";
  ASSERT_EQ(new_text.find("colour"), std::string::npos);
  ASSERT_FALSE(file_exists(temporary));

  int old_seen = 0, new_seen = 0, leftovers = 0;
  DWORD window = save_ms + save_ms / 4 + 5;  // kills spread over the whole save
  for (int run = 0; run < kKills; ++run) {
    int delay = static_cast<int>(window * static_cast<DWORD>(run) / (kKills - 1));
    save_and_exit(dir, old_text, delay);
    std::string now = read_file(cfg);
    if (now == old_text) {
      ++old_seen;
    } else if (now == new_text) {
      ++new_seen;
    } else {
      ADD_FAILURE() << "run " << run << " (killed after " << delay << " ms): cfg.ini is torn, " << now.size()
                    << " bytes";
    }
    if (file_exists(temporary)) {
      ++leftovers;
      DeleteFileA(temporary.c_str());
    }
  }
  std::printf("the save took %lu ms; of %d kills: %d old, %d new, %d left a temporary file\n",
              static_cast<unsigned long>(save_ms), kKills, old_seen, new_seen, leftovers);
  EXPECT_GT(old_seen, 0);
  EXPECT_GT(new_seen, 0);
}

}  // namespace
