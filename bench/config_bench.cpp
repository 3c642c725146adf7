// Saving and loading cfg.ini: our one-pass writer and reader against the
// platform's profile functions, one call per key, in one run on the same drive.
// --quick skips the platform's 10,000-task save, which takes many minutes.
#include <windows.h>

#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "core/app_state.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "persist/activity_log.h"
#include "persist/config_file.h"
#include "ui/main_window.h"

namespace {

void fill_table(int tasks) {
  while (row_count() > 0) delete_row(0);
  for (int i = 1; i <= tasks; ++i) {
    int32_t row = append_row(int_to_text(i));
    set_cell(row, COL_FILE, "S:\\bench\\目录\\folder-" + std::to_string(i) + "\\file.tmp");
    set_cell(row, COL_MODE, mode_text(1 + i % 3));
    set_cell(row, COL_DEL_MODE, del_mode_text(1 + i % 2));
    set_cell(row, COL_TIME, int_to_text(60 + i));
    set_cell(row, COL_REMARK, "note " + std::to_string(i));
  }
}

void clear_table() {
  while (row_count() > 0) delete_row(0);
}

void platform_write(const std::string& section, const char* key, const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key, value.c_str(), config_path().c_str());
}

// The one-key-per-call method: empty the file, then 5n + 2 writes.
double platform_save() {
  double start = seconds_now();
  std::string path = config_path();
  write_whole_file(path);
  platform_write("Sweepwarden", "num", int_to_text(row_count()));
  platform_write("Sweepwarden", "point", int_to_text(point));
  int32_t rows = row_count();
  for (int32_t i = 1; i <= rows; ++i) {
    std::string s = int_to_text(i);
    platform_write(s, "file", row_file(i - 1));
    platform_write(s, "mode", int_to_text(row_mode(i - 1)));
    platform_write(s, "del_mode", int_to_text(row_del_mode(i - 1)));
    platform_write(s, "time", int_to_text(row_time(i - 1)));
    platform_write(s, "remark", get_cell(i - 1, COL_REMARK));
  }
  return seconds_now() - start;
}

std::string platform_read(const std::string& section, const char* key, const char* fallback) {
  std::vector<char> buffer(10240, '\0');
  GetPrivateProfileStringA(section.c_str(), key, fallback, buffer.data(), 10240, config_path().c_str());
  return buffer.data();
}

// The one-key-per-call reads of a load, without filling the table.
double platform_reads() {
  double start = seconds_now();
  int32_t num = text_to_int(platform_read("Sweepwarden", "num", "0"));
  point = text_to_int(platform_read("Sweepwarden", "point", "0"));
  size_t bytes = 0;
  for (int32_t i = 1; i <= num; ++i) {
    std::string s = int_to_text(i);
    bytes += platform_read(s, "file", "").size() + platform_read(s, "mode", "3").size() +
             platform_read(s, "del_mode", "2").size() + platform_read(s, "time", "3600").size() +
             platform_read(s, "remark", "").size();
  }
  return bytes ? seconds_now() - start : -1;
}

// Our reads of a load, without filling the table.
double our_reads() {
  double start = seconds_now();
  IniDocument file = ini_load(config_path());
  int32_t num = text_to_int(ini_read(file, "Sweepwarden", "num", "0"));
  size_t bytes = 0;
  for (int32_t i = 1; i <= num; ++i) {
    std::string s = int_to_text(i);
    bytes += ini_read(file, s, "file").size() + ini_read(file, s, "mode", "3").size() +
             ini_read(file, s, "del_mode", "2").size() + ini_read(file, s, "time", "3600").size() +
             ini_read(file, s, "remark").size();
  }
  return bytes ? seconds_now() - start : -1;
}

double timed(void (*operation)()) {
  double start = seconds_now();
  operation();
  return seconds_now() - start;
}

}  // namespace

int main(int argc, char** argv) {
  exe_dir = bench_dir("config");
  bool quick = argc > 1 && std::string(argv[1]) == "--quick";
  if (!create_main_window(GetModuleHandleA(nullptr), SW_HIDE)) return 1;
  KillTimer(controls.main_window, kTickTimerId);
  for (int tasks : {100, 1000, 10000}) {
    std::string n = std::to_string(tasks) + " tasks";
    fill_table(tasks);
    log_buffer.clear();
    report("config: save " + n + ", ours", timed(save_config), "s");
    report("config: load " + n + ", ours, reads only", our_reads(), "s");
    clear_table();
    report("config: load " + n + ", ours, with filling the table", timed(load_config), "s");
    if (row_count() != tasks) report("config: rows loaded (wrong!)", row_count(), "rows");
    report("config: load " + n + ", platform per key, reads only", platform_reads(), "s");
    if (quick && tasks > 1000) continue;
    report("config: save " + n + ", platform per key", platform_save(), "s");
  }
  return 0;
}
