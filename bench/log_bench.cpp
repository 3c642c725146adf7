// Appending log lines: our log (appends the new bytes) against rewriting the
// whole file for every line, in one run on the same drive.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "bench/bench_util.h"
#include "core/app_state.h"
#include "persist/activity_log.h"

namespace {

std::string line_for(int i) { return "S:\\bench\\folder\\file-" + std::to_string(i) + ".tmp 删除完成"; }

double ours(int lines) {
  log_buffer.clear();
  forget_log_file();
  double start = seconds_now();
  for (int i = 0; i < lines; ++i) append_log(line_for(i));
  return seconds_now() - start;
}

// The whole-rewrite method: every line rewrites log.txt from the buffer.
double whole_rewrite(int lines) {
  log_buffer.clear();
  std::string path = log_path();
  double start = seconds_now();
  for (int i = 0; i < lines; ++i) {
    log_buffer += "2026年12月11日13时5分9秒 " + line_for(i) + "\r\n";
    write_whole_file(path, {&log_buffer});
  }
  return seconds_now() - start;
}

}  // namespace

int main(int argc, char** argv) {
  exe_dir = bench_dir("log");
  bool quick = argc > 1 && std::string(argv[1]) == "--quick";
  for (int lines : {10000, 100000}) {
    report("log: append " + std::to_string(lines) + " lines, ours", ours(lines), "s");
    if (quick && lines > 10000) continue;
    report("log: append " + std::to_string(lines) + " lines, whole rewrite", whole_rewrite(lines), "s");
  }
  return 0;
}
