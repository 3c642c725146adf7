// Start-up, the orderly exit and the fatal stop.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/app_state.h"
#include "core/gbk_text.h"
#include "persist/activity_log.h"
#include "persist/config_file.h"
#include "removal/file_services.h"
#include "ui/main_window.h"

namespace {

std::vector<ExitRoutine>& exit_routines() {
  static std::vector<ExitRoutine> routines;
  return routines;
}

enum FatalKind { FATAL_GENERAL = 1, FATAL_ALLOCATION = 2 };

// Builds the error box text in a fixed buffer: the stop must work when memory is gone.
[[noreturn]] void fatal_stop_text(const char* message, int kind) {
  process_exiting = true;
  if (controls.main_window) KillTimer(controls.main_window, kTickTimerId);
  static char text[1024];
  std::snprintf(text, sizeof text, "运行时出错!\r\n错误信息：%s\r\n(%d, %lu)", message, kind,
                static_cast<unsigned long>(GetLastError()));
  MessageBoxA(nullptr, text, "错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

// ---- One program per folder ----

// Names the folder for a mutex: a hash of its upper-case path (backslashes are not
// allowed in a mutex name, and a path may be longer than a name may be).
std::string instance_mutex_name(const std::string& dir) {
  std::string upper = dir;
  if (!upper.empty()) CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : upper) hash = (hash ^ c) * 1099511628211ull;
  char name[64];
  std::snprintf(name, sizeof name, "Sweepwarden-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

bool same_folder(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string folder_of_process(DWORD process_id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (!process) return std::string();
  char image[MAX_PATH * 2] = "";
  DWORD length = sizeof image;
  BOOL ok = QueryFullProcessImageNameA(process, 0, image, &length);
  CloseHandle(process);
  if (!ok) return std::string();
  std::string path(image, length);
  std::string::size_type cut = last_backslash(path);
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// The main window of another copy of the program started from this folder.
HWND main_window_of_this_folder() {
  for (HWND window = FindWindowExA(nullptr, nullptr, kMainWindowClass, nullptr); window;
       window = FindWindowExA(nullptr, window, kMainWindowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId() && same_folder(folder_of_process(owner), exe_dir)) return window;
  }
  return nullptr;
}

// True when this is the only copy running from exe_dir. Otherwise the running copy's
// window is shown (also from the tray) and this copy must end without touching a file.
bool claim_folder() {
  static HANDLE folder_mutex = nullptr;  // held for the life of the process
  folder_mutex = CreateMutexA(nullptr, FALSE, instance_mutex_name(exe_dir).c_str());
  if (!folder_mutex || GetLastError() != ERROR_ALREADY_EXISTS) return true;
  // The first copy may still be creating its window.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (HWND running = main_window_of_this_folder()) {
      ShowWindow(running, SW_SHOW);
      if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
      SetForegroundWindow(running);
      break;
    }
    Sleep(50);
  }
  return false;
}

}  // namespace

// A failed allocation is a fatal stop naming the size asked for.
void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) {
    static char message[64];
    // "%d" in its manner, but wide enough for every size a 64-bit build can ask for.
    std::snprintf(message, sizeof message, "分配 %llu 字节内存失败!", static_cast<unsigned long long>(size));
    fatal_stop_text(message, FATAL_ALLOCATION);
  }
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

void fatal_stop(const std::string& message) { fatal_stop_text(message.c_str(), FATAL_GENERAL); }

void fix_exe_dir() {
  char module[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path(module, length < MAX_PATH ? length : MAX_PATH);
  std::string::size_type cut = last_backslash(path);
  exe_dir = cut == std::string::npos ? std::string() : path.substr(0, cut);
  SetCurrentDirectoryA(exe_dir.empty() ? "." : (exe_dir + "\\").c_str());
}

void register_exit_routine(ExitRoutine routine) {
  for (ExitRoutine known : exit_routines())
    if (known == routine) return;
  exit_routines().push_back(routine);
}

void release_globals() {
  std::string().swap(log_buffer);
  std::string().swap(dropped_path);
}

void orderly_exit(int exit_code) {
  process_exiting = true;
  std::vector<ExitRoutine> routines;
  routines.swap(exit_routines());
  for (ExitRoutine routine : routines) routine();
  // Platform resources, OLE last. The tray icon goes too, so none is left behind.
  if (controls.main_window) {
    KillTimer(controls.main_window, kTickTimerId);
    remove_tray_icon();
  }
  release_fonts();
  OleUninitialize();
  ExitProcess(static_cast<UINT>(exit_code));
}

void exit_program() {
  save_config();
  append_log("正在退出程序");
  orderly_exit(0);
}

void on_main_created() {
  if (!path_exists(log_path())) append_log("第一次运行，创建日志文件");
  if (path_exists(config_path())) load_config();
  set_tray_icon(load_tray_icon(), "Sweepwarden");
  register_drop_target(controls.main_window);
  append_log("主窗口载入完成");
}

int startup(HINSTANCE instance) {
  OleInitialize(nullptr);
  fix_exe_dir();
  if (!claim_folder()) {
    OleUninitialize();
    ExitProcess(0);
  }
  register_exit_routine(release_globals);
  if (!create_main_window(instance, SW_SHOW)) fatal_stop("载入启动窗口失败");
  run_message_loop();
  orderly_exit(0);
}
