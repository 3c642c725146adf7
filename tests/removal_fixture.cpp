#include "tests/removal_fixture.h"

#include <windows.h>

#include <sstream>

#include "core/app_state.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "tests/bench_env.h"

namespace {
std::string trash_home;
}

std::string use_scratch_trash() {
  trash_home = make_scratch_dir("trash-home");
  SetEnvironmentVariableA("XDG_DATA_HOME", unix_path_of(trash_home).c_str());
  return trash_home;
}

std::string trash_files() { return trash_home + "\\Trash\\files"; }

// Wine 8's CreateSymbolicLinkA reports success and makes nothing; ask Linux
// directly (x86-64 system calls symlink 88 and unlink 87).
bool make_unix_link(const std::string& unix_link, const std::string& unix_target) {
#if defined(__x86_64__)
  if (unix_target.empty() || unix_target[0] != '/' || unix_link.empty() || unix_link[0] != '/') return false;
  long result;
  asm volatile("syscall"
               : "=a"(result)
               : "a"(88L), "D"(unix_target.c_str()), "S"(unix_link.c_str())
               : "rcx", "r11", "memory");
  return result == 0;
#else
  (void)unix_link;
  (void)unix_target;
  return false;
#endif
}

void remove_unix_link(const std::string& unix_link) {
#if defined(__x86_64__)
  long result;
  asm volatile("syscall" : "=a"(result) : "a"(87L), "D"(unix_link.c_str()) : "rcx", "r11", "memory");
  (void)result;
#else
  (void)unix_link;
#endif
}

bool make_directory_link(const std::string& link, const std::string& target) {
  if (!make_unix_link(unix_path_of(link), unix_path_of(target))) return false;
  DWORD attributes = GetFileAttributesA(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

int32_t RemovalTest::add_task(const std::string& path, const char* mode, const char* del_mode, const char* time) {
  int32_t row = append_row(int_to_text(row_count() + 1));
  set_cell(row, COL_FILE, path);
  set_cell(row, COL_MODE, mode);
  set_cell(row, COL_DEL_MODE, del_mode);
  set_cell(row, COL_TIME, time);
  set_cell(row, COL_REMARK, "");
  return row;
}

std::string RemovalTest::removal_lines() const {
  std::istringstream lines(log_text());
  std::string line, out;
  while (std::getline(lines, line))
    if (line.find(" 删除完成") != std::string::npos || line.find(" 移动到回收站") != std::string::npos)
      out += line + "\n";
  return out;
}

std::string RemovalTest::label() const {
  char text[64] = "";
  GetWindowTextA(controls.标签2, text, sizeof text);
  return text;
}
