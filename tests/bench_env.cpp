#include "tests/bench_env.h"

#include "ui/main_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string scratch_drive() {
  const char* drive = std::getenv("SWEEP_SCRATCH");
  // Only a letter the bench maps to its scratch folder; never Z:, the whole Linux file system.
  if (!drive || std::strlen(drive) != 2 || drive[1] != ':' || drive[0] == 'Z' || drive[0] == 'z' ||
      drive[0] == 'C' || drive[0] == 'c') {
    std::fprintf(stderr, "SWEEP_SCRATCH must name the bench's scratch drive; run the tests with scripts/test.sh\n");
    std::abort();
  }
  return drive;
}

}  // namespace

std::string make_scratch_dir(const std::string& name) {
  static int serial = 0;
  std::string base = scratch_drive() + "\\" + name;
  for (;;) {
    std::string path = base + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    if (CreateDirectoryA(path.c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      std::fprintf(stderr, "cannot make %s\n", path.c_str());
      std::abort();
    }
  }
}

std::string unix_path_of(const std::string& scratch_path) {
  const char* root = std::getenv("SWEEP_SCRATCH_UNIX");
  std::string out = root ? root : "";
  for (size_t i = 2; i < scratch_path.size(); ++i) out += scratch_path[i] == '\\' ? '/' : scratch_path[i];
  return out;
}

bool write_file(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                              done == bytes.size());
  CloseHandle(file);
  return ok;
}

std::string read_file(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string out;
  char buffer[65536];
  DWORD done = 0;
  while (ReadFile(file, buffer, sizeof buffer, &done, nullptr) && done > 0) out.append(buffer, done);
  CloseHandle(file);
  return out;
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void make_dir(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

void set_read_only(const std::string& path, bool read_only) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  attributes = read_only ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(path.c_str(), attributes);
}

std::string program_exe_path() {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path = module;
  path = path.substr(0, path.rfind('\\'));  // tests folder
  path = path.substr(0, path.rfind('\\'));  // build folder
  return path + "\\Sweepwarden.exe";
}

void pump_messages(DWORD milliseconds) {
  pump_until([] { return false; }, milliseconds);
}

bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (condition()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

MessageBoxWatcher::MessageBoxWatcher(const char* title) : title_(title), stop_(0) {
  InitializeCriticalSection(&lock_);
  seen_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(seen_);
  DeleteCriticalSection(&lock_);
}

DWORD WINAPI MessageBoxWatcher::watch(void* self_pointer) {
  MessageBoxWatcher* self = static_cast<MessageBoxWatcher*>(self_pointer);
  while (!self->stop_) {
    HWND box = FindWindowA("#32770", self->title_.c_str());
    if (box && IsWindowVisible(box)) {
      char text[4096] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the static text of a message box
      EnterCriticalSection(&self->lock_);
      self->text_ = text;
      LeaveCriticalSection(&self->lock_);
      SendMessageA(box, WM_COMMAND, IDOK, 0);
      for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
      SetEvent(self->seen_);
    }
    Sleep(20);
  }
  return 0;
}

std::string MessageBoxWatcher::wait_one(DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    if (MsgWaitForMultipleObjects(1, &seen_, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
      EnterCriticalSection(&lock_);
      std::string text = text_;
      LeaveCriticalSection(&lock_);
      return text;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return std::string();
}

std::string log_messages(const std::string& log_bytes) {
  std::string out;
  size_t start = 0;
  while (start < log_bytes.size()) {
    size_t end = log_bytes.find("\r\n", start);
    if (end == std::string::npos) end = log_bytes.size();
    std::string line = log_bytes.substr(start, end - start);
    size_t blank = line.find(' ');
    out += (blank == std::string::npos ? line : line.substr(blank + 1)) + "\n";
    start = end + 2;
  }
  return out;
}

bool RunningProgram::start(const std::string& dir) {
  if (!CopyFileA(program_exe_path().c_str(), (dir + "\\Sweepwarden.exe").c_str(), FALSE)) return false;
  return start_existing(dir);
}

bool RunningProgram::start_existing(const std::string& dir) {
  std::string exe = dir + "\\Sweepwarden.exe";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe + "\"";
  std::string cwd = scratch_drive() + "\\";
  return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &startup,
                        &info_) != 0;
}

RunningProgram::~RunningProgram() {
  if (info_.hProcess) {
    kill();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

namespace {
struct WindowSearch {
  DWORD process_id;
  HWND found;
};
BOOL CALLBACK find_main_window(HWND window, LPARAM search_pointer) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(search_pointer);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (owner == search->process_id && std::strcmp(cls, kMainWindowClass) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND RunningProgram::main_window(DWORD timeout_ms) {
  DWORD start = GetTickCount();
  do {
    WindowSearch search = {info_.dwProcessId, nullptr};
    EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

bool RunningProgram::wait_exit(DWORD timeout_ms, DWORD* exit_code) {
  if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

void RunningProgram::kill() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

bool wait_for_file(const std::string& path, const std::function<bool(const std::string&)>& condition,
                   DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition(read_file(path))) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(50);
  }
}

namespace {
struct ChildEntry {
  const char* name;
  ChildFunction function;
};
std::vector<ChildEntry>& child_actions() {
  static std::vector<ChildEntry> actions;
  return actions;
}
}  // namespace

ChildAction::ChildAction(const char* name, ChildFunction function) { child_actions().push_back({name, function}); }

bool run_child_action(int argc, char** argv, int* exit_code) {
  if (argc < 2 || std::strncmp(argv[1], "--child=", 8) != 0) return false;
  std::string spec = argv[1] + 8;
  std::string name = spec.substr(0, spec.find(':'));
  std::string argument = spec.find(':') == std::string::npos ? "" : spec.substr(spec.find(':') + 1);
  for (const ChildEntry& entry : child_actions())
    if (name == entry.name) {
      *exit_code = entry.function(argument);
      return true;
    }
  *exit_code = 98;
  return true;
}

HANDLE start_child(const std::string& name_and_argument) {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string command = "\"" + std::string(module) + "\" \"--child=" + name_and_argument + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(module, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return nullptr;
  CloseHandle(info.hThread);
  return info.hProcess;
}
