// The test bench: the scratch drive every test that touches files works on, and
// small helpers over real files and real windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// A fresh, empty folder on the scratch drive (S:), named after the test.
// Aborts the test program when the bench's drive is not set up.
std::string make_scratch_dir(const std::string& name);
// The scratch folder as a Linux path (for fixtures made from the Linux side).
std::string unix_path_of(const std::string& scratch_path);

bool write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
void make_dir(const std::string& path);
void set_read_only(const std::string& path, bool read_only);

// The program's exe beside the test exes' folder.
std::string program_exe_path();

// Pumps this thread's messages for the given time.
void pump_messages(DWORD milliseconds);
// Pumps messages until the condition holds or the time is out; true when it held.
bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms);

// Watches for a top-level window with this title from another thread; when one
// appears, records its text and presses OK. Call wait() to get the texts seen.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(const char* title);
  ~MessageBoxWatcher();
  std::string wait_one(DWORD timeout_ms = 10000);  // the text of the next box seen, or ""
 private:
  static DWORD WINAPI watch(void* self);
  std::string title_;
  HANDLE thread_;
  HANDLE seen_;
  volatile LONG stop_;
  std::string text_;
  CRITICAL_SECTION lock_;
};

// Lines of a log file without their timestamps: the message after the first blank.
std::string log_messages(const std::string& log_bytes);

// How long the real program may take to log its start-up line. It takes well under
// a second alone; under a loaded machine Wine has been seen to take over 20 s.
constexpr DWORD kProgramStartTimeout = 60000;

// The real program, copied into a folder and started there as its own process.
class RunningProgram {
 public:
  // Copies the exe into dir and starts it; the working directory is the scratch root,
  // so the program has to find its folder by itself.
  bool start(const std::string& dir);
  // Starts the exe already in dir (a second copy from the same folder).
  bool start_existing(const std::string& dir);
  ~RunningProgram();
  HWND main_window(DWORD timeout_ms = 15000);  // its main window, once it exists
  bool wait_exit(DWORD timeout_ms, DWORD* exit_code);
  void kill();
  DWORD process_id() const { return info_.dwProcessId; }
  HANDLE process() const { return info_.hProcess; }
 private:
  PROCESS_INFORMATION info_ = {};
};

// Waits until the file's text satisfies the condition (read repeatedly), or the time is out.
bool wait_for_file(const std::string& path, const std::function<bool(const std::string&)>& condition,
                   DWORD timeout_ms);

// Child actions: a test starts its own exe again with "--child=NAME" to run NAME in
// a process of its own (for what ends the process). Register with a static ChildAction.
using ChildFunction = int (*)(const std::string& argument);
struct ChildAction {
  ChildAction(const char* name, ChildFunction function);
};
// Runs the action named by argv[1] when it is "--child=NAME[:ARGUMENT]"; false otherwise.
bool run_child_action(int argc, char** argv, int* exit_code);
// Starts this test exe as a child running the named action; returns its process handle.
HANDLE start_child(const std::string& name_and_argument);
