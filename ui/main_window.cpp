#include "ui/main_window.h"

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/task_table.h"
#include "persist/config_file.h"
#include "removal/scheduler.h"
#include "res/resource.h"
#include "ui/drop_target.h"
#include "ui/drop_text.h"
#include "ui/task_editor.h"

namespace {

const int kMainWidth = 880;
const int kMainHeight = 480;

const FontSpec kTableFont = {"微软雅黑 Light", -20, 290, GB2312_CHARSET};
const FontSpec kCaptionFont = {"微软雅黑", -16, 400, GB2312_CHARSET};
const FontSpec kCounterFont = {"Impact", -21, 400, ANSI_CHARSET};
const FontSpec kButtonFont = {"微软雅黑", -16, 400, GB2312_CHARSET};

const ControlSpec kMainControls[] = {
    // handle                  id           class        style                                                   ex  x    y    w    h    text                  font
    {&controls.超级列表框1, IDL_TASKS, WC_LISTVIEWA, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 8, 8, 762, 432, "", &kTableFont, nullptr},
    {&controls.标签1, IDS_CAPTION, "STATIC", SS_LEFT, 0, 788, 8, 69, 48, "已吃掉的\r\n文件数量", &kCaptionFont, nullptr},
    {&controls.标签2, IDS_COUNTER, "STATIC", SS_CENTER | SS_CENTERIMAGE, 0, 777, 57, 90, 24, "0", &kCounterFont, nullptr},
    {&controls.add, IDB_ADD, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 784, 289, 75, 32, "添加", &kButtonFont, nullptr},
    {&controls.time, IDB_TIME, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 784, 333, 75, 32, "修改", &kButtonFont, nullptr},
    {&controls.delete_, IDB_DELETE, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 784, 377, 75, 32, "删除", &kButtonFont, nullptr},
};

bool tray_icon_added = false;
HICON tray_icon = nullptr;
char tray_tip[64] = "";
UINT taskbar_created_message = 0;

NOTIFYICONDATAA tray_data(HICON icon, const char* tip) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = controls.main_window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WMAPP_NOTIFYCALLBACK;
  data.hIcon = icon;
  lstrcpynA(data.szTip, tip, 63);
  return data;
}

// ---- Handlers ----

BOOL OnCreate(HWND window, LPCREATESTRUCT) {
  controls.main_window = window;
  if (!create_controls(window, kMainControls)) return FALSE;
  SendMessageA(controls.超级列表框1, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_FLATSB | LVS_EX_INFOTIP);
  ListView_SetTextColor(controls.超级列表框1, RGB(0, 0, 0));
  ListView_SetTextBkColor(controls.超级列表框1, RGB(255, 255, 255));
  ListView_SetBkColor(controls.超级列表框1, RGB(255, 255, 255));
  add_task_columns();
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load_program_icon(32, 4)));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load_program_icon(16, 4)));
  SetTimer(window, kTickTimerId, 1000, nullptr);
  on_main_created();
  return TRUE;
}

void OnTimer(HWND, UINT id) {
  if (id == kTickTimerId) on_tick();
}

// A close request only hides the window: the timer and the tray icon go on.
void OnClose(HWND window) { ShowWindow(window, SW_HIDE); }

void OnDestroy(HWND window) {
  KillTimer(window, kTickTimerId);
  revoke_drop_target(window);
  remove_tray_icon();
  controls = Controls{};
  PostQuitMessage(0);
}

// Opens the editor for row s, which then counts from zero again.
void modify_row(int32_t s) {
  edit_row = s;
  editor_mode = 2;
  open_editor();
  tick_count = 0;
}

void OnAddClicked() {
  editor_mode = 1;
  open_editor();
}

void OnTimeClicked() {
  int32_t s = selected_row();
  if (s == -1) {
    show_message("当前未选中任何项目");
    return;
  }
  modify_row(s);
  save_config();  // the editor saved as it closed; this is the second save
}

void OnCommand(HWND, int id, HWND, UINT) {
  switch (id) {
    case IDB_ADD:
      OnAddClicked();
      break;
    case IDB_TIME:
      OnTimeClicked();
      break;
    case IDB_DELETE:
      delete_selected_row();
      break;
    case IDM_SHOW_WINDOW:
      ShowWindow(controls.main_window, SW_SHOW);
      break;
    case IDM_EXIT:
      exit_program();
  }
}

LRESULT OnNotify(HWND, int id, LPNMHDR header) {
  if (id == IDL_TASKS && header->code == NM_DBLCLK) {
    int32_t s = selected_row();
    if (s != -1) modify_row(s);
  }
  return 0;
}

// One editor per dropped path, in drop order, each opened after the last one closed.
void OnDrop(const std::string& text) {
  std::vector<std::string> pieces = split_drop_text(text);
  editor_mode = 1;
  for (const std::string& piece : pieces) {
    dropped_path = piece;
    open_editor();
  }
  dropped_path.clear();
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (process_exiting) return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, OnCreate);
    HANDLE_MSG(window, WM_TIMER, OnTimer);
    HANDLE_MSG(window, WM_CLOSE, OnClose);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    HANDLE_MSG(window, WM_COMMAND, OnCommand);
    HANDLE_MSG(window, WM_NOTIFY, OnNotify);
    case WMAPP_NOTIFYCALLBACK:
      on_tray_event(static_cast<UINT>(lParam));
      return 0;
    case kDropMessage:
      OnDrop(take_drop_text(lParam));
      return 0;
  }
  if (message == taskbar_created_message && taskbar_created_message != 0 && tray_icon_added) {
    tray_icon_added = false;  // Explorer restarted and forgot every icon
    set_tray_icon(tray_icon, tray_tip);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool create_main_window(HINSTANCE instance, int show_command) {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  taskbar_created_message = RegisterWindowMessageA("TaskbarCreated");
  HWND window = create_centred_window(instance, kMainWindowClass, main_window_proc, 0, "Sweep Warden",
                                      WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_DLGFRAME, kMainWidth, kMainHeight);
  if (!window) return false;
  ShowWindow(window, show_command);
  return true;
}

bool translate_escape(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE || !message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || (root != controls.main_window && root != controls.editor_window)) return false;
  PostMessageA(root, WM_CLOSE, 0, 0);
  return true;
}

void run_message_loop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (translate_escape(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void show_message(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "信息：", MB_OK | MB_TASKMODAL); }

HICON load_program_icon(int size, int bits_per_pixel) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(IDI_APP), RT_GROUP_ICON);
  if (!group) return nullptr;
  const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(instance, group)));
  if (!directory) return nullptr;
  // GRPICONDIR: reserved, type, count, then 14-byte entries.
  WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = directory + 6 + 14 * i;
    int width = entry[0] ? entry[0] : 256;
    WORD bits = *reinterpret_cast<const WORD*>(entry + 6);
    WORD id = *reinterpret_cast<const WORD*>(entry + 12);
    if (width != size || bits != bits_per_pixel) continue;
    HRSRC image = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_ICON);
    if (!image) return nullptr;
    BYTE* bytes = static_cast<BYTE*>(LockResource(LoadResource(instance, image)));
    return CreateIconFromResourceEx(bytes, SizeofResource(instance, image), TRUE, 0x00030000, size, size, 0);
  }
  return nullptr;
}

HICON load_tray_icon() {
  HICON icon = load_program_icon(16, 4);
  return icon ? icon : load_program_icon(32, 4);
}

bool set_tray_icon(HICON icon, const char* tip) {
  lstrcpynA(tray_tip, tip ? tip : "", sizeof tray_tip);
  NOTIFYICONDATAA data = tray_data(icon, tray_tip);
  if (!tray_icon_added) {
    if (!icon) return false;
    tray_icon = icon;
    tray_icon_added = Shell_NotifyIconA(NIM_ADD, &data) != 0;
    return tray_icon_added;
  }
  HICON replaced = tray_icon;
  bool ok;
  if (icon) {
    ok = Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
    tray_icon = icon;
  } else {
    ok = Shell_NotifyIconA(NIM_DELETE, &data) != 0;
    tray_icon_added = false;
    tray_icon = nullptr;
  }
  if (replaced && replaced != icon) DestroyIcon(replaced);
  return ok;
}

void remove_tray_icon() {
  if (tray_icon_added) set_tray_icon(nullptr, "");
}

void on_tray_event(UINT mouse_message) {
  switch (mouse_message) {
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      show_tray_menu();
      break;
    case WM_LBUTTONDBLCLK:
      ShowWindow(controls.main_window, SW_SHOW);
      break;
  }
}

void show_tray_menu() {
  HWND window = controls.main_window;
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, IDM_SHOW_WINDOW, "显示窗口");
  AppendMenuA(menu, MF_STRING, IDM_EXIT, "退出软件");
  POINT cursor = {};
  GetCursorPos(&cursor);
  SetForegroundWindow(window);  // else the menu does not go away on a click elsewhere
  TrackPopupMenu(menu, TPM_RIGHTALIGN, cursor.x - 5, cursor.y - 5, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}
