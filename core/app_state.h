// Process-wide values shared by every subsystem, and the process's own life:
// start-up, the orderly exit and the fatal stop.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// ---- Process-wide values: all start at zero or empty. ----
extern int32_t point;          // removals that succeeded; stored in cfg.ini
extern int32_t tick_count;     // ticks handled since start or since the last edit
extern int32_t editor_mode;    // 1 add, 2 modify
extern int32_t edit_row;       // row the editor modifies
extern std::string dropped_path;
extern std::string log_buffer;

// The executable's folder, without a trailing backslash; also the current directory.
extern std::string exe_dir;

// Window handles, under the names the windows give their controls.
struct Controls {
  HWND main_window;
  HWND 超级列表框1;  // the task table
  HWND 标签1;
  HWND 标签2;        // the counter
  HWND add;
  HWND time;
  HWND delete_;     // "delete" is a C++ keyword
  // The task editor, while it is open.
  HWND editor_window;
  HWND 目录输入框;
  HWND 时间输入框;
  HWND 备注输入框;
  HWND 删除文件;
  HWND 删除目录;
  HWND 删除目录下全部文件;
  HWND 直接删除;
  HWND 移动到回收站;
};
extern Controls controls;

// True from the start of the orderly exit or the fatal stop: no handler runs then.
extern bool process_exiting;

// ---- Life of the process. ----
int startup(HINSTANCE instance);
void on_main_created();
[[noreturn]] void exit_program();
void release_globals();
[[noreturn]] void fatal_stop(const std::string& message);

// Fixes exe_dir from the module path and makes it the current directory.
void fix_exe_dir();
std::string config_path();
std::string log_path();

// Exit routines run once, in registration order, by the orderly exit.
using ExitRoutine = void (*)();
void register_exit_routine(ExitRoutine routine);
[[noreturn]] void orderly_exit(int exit_code);
