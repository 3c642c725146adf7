// Removing a tree of 20,000 files in 2,000 folders: a directory task and a
// contents task against Wine's own "cmd /c rd /s /q", in one run on the same
// drive (bench/removal_bench.sh adds Linux rm -rf on the same tree); and the
// cost of one tick over 10,000 rows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bench_util.h"
#include "core/app_state.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "removal/removal_actions.h"
#include "removal/scheduler.h"
#include "ui/main_window.h"

namespace {

constexpr int kFolders = 2000;
constexpr int kFilesPerFolder = 10;

void make_tree(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d < kFolders; ++d) {
    std::string folder = root + "\\d" + std::to_string(d);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string file = folder + "\\f" + std::to_string(f) + ".tmp";
      HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      DWORD done = 0;
      WriteFile(handle, "x", 1, &done, nullptr);
      CloseHandle(handle);
    }
  }
}

bool gone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

int32_t add_task(const std::string& path, const char* mode, const char* del_mode, const std::string& period) {
  int32_t row = append_row(int_to_text(row_count() + 1));
  set_cell(row, COL_FILE, path);
  set_cell(row, COL_MODE, mode);
  set_cell(row, COL_DEL_MODE, del_mode);
  set_cell(row, COL_TIME, period);
  return row;
}

double run_command(const std::string& command_line, const std::string& folder) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string command = command_line;
  double start = seconds_now();
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup,
                      &info))
    return -1;
  WaitForSingleObject(info.hProcess, INFINITE);
  double elapsed = seconds_now() - start;
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return elapsed;
}

void clear_table() {
  while (row_count() > 0) delete_row(row_count() - 1);
}

double tick_seconds(int ticks) {
  double start = seconds_now();
  for (int i = 0; i < ticks; ++i) on_tick();
  return (seconds_now() - start) / ticks;
}

}  // namespace

int main(int argc, char** argv) {
  std::string base = bench_dir("removal");
  if (argc > 2 && std::string(argv[1]) == "--make-tree") {
    make_tree(base + "\\" + argv[2]);
    std::printf("%s\n", (base + "\\" + argv[2]).c_str());
    return 0;
  }
  exe_dir = base + "\\app";
  CreateDirectoryA(exe_dir.c_str(), nullptr);
  if (!create_main_window(GetModuleHandleA(nullptr), SW_HIDE)) return 1;
  KillTimer(controls.main_window, kTickTimerId);
  const std::string tree_name = "tree: " + std::to_string(kFolders * kFilesPerFolder) + " files in " +
                                std::to_string(kFolders) + " folders";

  std::string tree = base + "\\directory-task";
  make_tree(tree);
  double start = seconds_now();
  remove_directory_target(tree, add_task(tree, "目录", "删除", "1"));
  double directory_task = seconds_now() - start;
  report("removal: " + tree_name + ", directory task" + (gone(tree) ? "" : " (INCOMPLETE)"), directory_task, "s");

  std::string box = base + "\\contents-task";
  make_tree(box);
  std::string path = box;
  start = seconds_now();
  remove_directory_contents(path, add_task(box, "子目录", "删除", "1"));
  double contents_task = seconds_now() - start;
  report("removal: " + tree_name + ", contents task" + (gone(box + "\\d0") ? "" : " (INCOMPLETE)"), contents_task,
         "s");

  double cmd_start = run_command("cmd.exe /c rem", base);
  report("removal: cmd /c rem (process start alone)", cmd_start, "s");
  std::string rd_tree = base + "\\cmd-rd";
  make_tree(rd_tree);
  double rd = run_command("cmd.exe /c rd /s /q " + rd_tree, base);
  report("removal: " + tree_name + ", cmd /c rd /s /q" + (gone(rd_tree) ? "" : " (INCOMPLETE)"), rd, "s");
  report("removal: directory task / cmd rd", directory_task / rd, "x");
  report("removal: contents task / cmd rd", contents_task / rd, "x");

  // One tick over 10,000 rows whose targets do not exist.
  clear_table();
  report("tick: empty table", tick_seconds(1000) * 1e6, "us");
  std::string missing = base + "\\missing\\file-";
  for (int i = 0; i < 10000; ++i) add_task(missing + std::to_string(i), "文件", "删除", std::to_string(3600 + i));
  tick_count = 0;
  report("tick: 10,000 rows, none due", tick_seconds(100) * 1e6, "us");
  for (int i = 0; i < 10000; ++i) set_cell(i, COL_TIME, "1");
  report("tick: 10,000 rows, all due, targets missing", tick_seconds(10) * 1e6, "us");
  DestroyWindow(controls.main_window);
  return 0;
}
