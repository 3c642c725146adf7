// Drives the running program for the screenshots: prints where its windows are
// ("rect main" / "rect editor"), and opens its editor through the add button and
// fills the fields as a user would have ("editor").
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "ui/main_window.h"
#include "ui/task_editor.h"

namespace {

HWND wait_for_window(const char* window_class, const char* title) {
  for (int i = 0; i < 200; ++i, Sleep(50)) {
    HWND window = FindWindowA(window_class, title);
    if (window && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

void set_text(HWND control, const char* text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

int main(int argc, char** argv) {
  HWND main = wait_for_window(nullptr, "Sweep Warden");
  if (!main) return 1;
  if (argc > 1 && std::strcmp(argv[1], "editor") == 0) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDB_ADD, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDB_ADD)));
    HWND editor = wait_for_window(kEditorClass, nullptr);
    if (!editor) return 2;
    set_text(GetDlgItem(editor, IDE_PATH), "S:\\shots\\下载\\临时文件");
    set_text(GetDlgItem(editor, IDE_REMARK), "每天清空下载的临时文件");
    set_text(GetDlgItem(editor, IDE_TIME), "86400");
  }
  if (argc > 2 && std::strcmp(argv[1], "rect") == 0) {
    HWND window = std::strcmp(argv[2], "editor") == 0 ? wait_for_window(kEditorClass, nullptr) : main;
    RECT frame;
    if (!window || !GetWindowRect(window, &frame)) return 3;
    std::printf("%ldx%ld+%ld+%ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left, frame.top);
  }
  return 0;
}
