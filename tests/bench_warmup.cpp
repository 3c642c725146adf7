// Run once by the bench before the tests: brings up Wine's background processes
// (desktop, RPC service) so they do not inherit the test runner's output pipes.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

int main() {
  OleInitialize(nullptr);
  HWND window = CreateWindowExA(0, "STATIC", "warmup", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = 1;
  Shell_NotifyIconA(NIM_ADD, &data);
  Shell_NotifyIconA(NIM_DELETE, &data);
  DestroyWindow(window);
  OleUninitialize();
  return 0;
}
