#include "ui/task_editor.h"

#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "core/app_state.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "persist/activity_log.h"
#include "persist/config_file.h"
#include "removal/file_services.h"
#include "ui/control_table.h"
#include "ui/drop_target.h"
#include "ui/drop_text.h"
#include "ui/main_window.h"

const char kEditorClass[] = "SweepwardenEditor";

namespace {

const int kEditorWidth = 574;
const int kEditorHeight = 240;
const int kPlainDirectory = 16;  // FILE_ATTRIBUTE_DIRECTORY and none of the other bits

const FontSpec kLabelFont = {"微软雅黑", -19, 400, GB2312_CHARSET};
const FontSpec kFieldFont = {"微软雅黑 Light", -19, 290, GB2312_CHARSET};
const FontSpec kPushFont = {"微软雅黑 Light", -21, 290, GB2312_CHARSET};

const DWORD kLabel = SS_CENTER | SS_CENTERIMAGE;
const DWORD kRadio = BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER;
const DWORD kPush = WS_TABSTOP | BS_PUSHBUTTON;

HWND method_box = nullptr;  // 分组框1, parent of the method group

const ControlSpec kEditorControls[] = {
    // handle                      id                class     style                                         ex  x    y    w    h   text                    font         parent
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel, 0, 8, 8, 48, 24, "模式", &kLabelFont, nullptr},
    {&controls.删除文件, IDR_FILE, "BUTTON", kRadio | WS_GROUP | WS_TABSTOP, 0, 89, 8, 104, 24, "删除文件", &kFieldFont, nullptr},
    {&controls.删除目录, IDR_DIRECTORY, "BUTTON", kRadio, 0, 205, 8, 104, 24, "删除目录", &kFieldFont, nullptr},
    {&controls.删除目录下全部文件, IDR_CONTENTS, "BUTTON", kRadio, 0, 321, 8, 216, 24, "删除目录下全部文件", &kFieldFont, nullptr},
    {&method_box, IDC_METHOD_BOX, "BUTTON", BS_GROUPBOX | WS_GROUP, 0, 6, 38, 544, 38, "", nullptr, nullptr},
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel, 0, 3, 8, 48, 24, "删除", &kLabelFont, &method_box},
    {&controls.直接删除, IDR_DELETE, "BUTTON", kRadio | WS_GROUP | WS_TABSTOP, 0, 80, 9, 104, 24, "直接删除", &kFieldFont, &method_box},
    {&controls.移动到回收站, IDR_RECYCLE, "BUTTON", kRadio, 0, 247, 8, 227, 24, "移动到回收站（推荐）", &kFieldFont, &method_box},
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel | WS_GROUP, 0, 8, 86, 48, 24, "目录", &kLabelFont, nullptr},
    {&controls.目录输入框, IDE_PATH, "EDIT", WS_DISABLED | ES_AUTOHSCROLL, 0, 72, 80, 478, 40, "", &kFieldFont, nullptr},
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel, 0, 8, 125, 48, 24, "备注", &kLabelFont, nullptr},
    {&controls.备注输入框, IDE_REMARK, "EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 72, 120, 478, 40, "", &kFieldFont, nullptr},
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel, 0, 8, 165, 48, 24, "时间", &kLabelFont, nullptr},
    {&controls.时间输入框, IDE_TIME, "EDIT", WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, 0, 59, 157, 88, 40, "3600", &kFieldFont, nullptr},
    {nullptr, IDS_EDITOR_LABEL, "STATIC", kLabel, 0, 150, 166, 48, 24, "秒", &kLabelFont, nullptr},
    {nullptr, IDB_BROWSE, "BUTTON", kPush, 0, 354, 168, 80, 36, "浏览", &kPushFont, nullptr},
    {nullptr, IDB_CONFIRM, "BUTTON", kPush, 0, 468, 168, 80, 36, "添加", &kPushFont, nullptr},
};

// The open-file dialog's own file name: empty for each new window, then the last choice.
char chosen_file[260] = "";

// ---- Small wrappers ----

void check_only(HWND chosen, std::initializer_list<HWND> group) {
  for (HWND button : group) SendMessageA(button, BM_SETCHECK, button == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}
void check_kind(HWND chosen) { check_only(chosen, {controls.删除文件, controls.删除目录, controls.删除目录下全部文件}); }
void check_method(HWND chosen) { check_only(chosen, {controls.直接删除, controls.移动到回收站}); }
bool is_checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string window_text(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(window, &text[0], length + 1));
  return text;
}

struct WindowsToDisable {
  HWND except;
  std::vector<HWND> disabled;
};

BOOL CALLBACK disable_one(HWND window, LPARAM data) {
  WindowsToDisable* walk = reinterpret_cast<WindowsToDisable*>(data);
  if (window != walk->except && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    walk->disabled.push_back(window);
  }
  return TRUE;
}

// Disables every enabled top-level window of this thread but one, remembering which.
std::vector<HWND> disable_program_windows(HWND except) {
  WindowsToDisable walk = {except, {}};
  EnumThreadWindows(GetCurrentThreadId(), disable_one, reinterpret_cast<LPARAM>(&walk));
  return walk.disabled;
}

void enable_windows(const std::vector<HWND>& windows) {
  for (HWND window : windows)
    if (IsWindow(window)) EnableWindow(window, TRUE);
}

// A path that is not a plain directory makes the task a file task.
void take_path(const std::string& path) {
  SetWindowTextA(controls.目录输入框, path.c_str());
  if (file_attributes(path) != kPlainDirectory) check_kind(controls.删除文件);
}

// Of the printable characters the period field takes only "-" and digits;
// control characters (and so pasting) pass.
LRESULT CALLBACK time_field_proc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_CHAR && wParam >= 32 && wParam != '-' && (wParam < '0' || wParam > '9')) return 0;
  return DefSubclassProc(field, message, wParam, lParam);
}

bool run_file_dialog(HWND owner) {
  // The filter text with "||" appended and every "|" made a NUL.
  std::string filter = std::string("所有文件（*.*） | *.*") + "||";
  for (char& c : filter)
    if (c == '|') c = '\0';
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen_file;
  dialog.nMaxFile = sizeof chosen_file;
  dialog.lpstrTitle = "请输入想要定期删除的文件";
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  return GetOpenFileNameA(&dialog) != 0;
}

// ---- Handlers ----

BOOL OnCreate(HWND window, LPCREATESTRUCT) {
  controls.editor_window = window;
  chosen_file[0] = '\0';
  if (!create_controls(window, kEditorControls)) return FALSE;
  SetWindowSubclass(controls.时间输入框, time_field_proc, 0, 0);
  check_kind(controls.删除目录下全部文件);
  check_method(controls.移动到回收站);

  register_drop_target(window);
  HWND confirm = GetDlgItem(window, IDB_CONFIRM);
  if (editor_mode == 1) SetWindowTextA(confirm, "添加");
  if (editor_mode == 2) {
    SetWindowTextA(confirm, "修改");
    HWND kinds[] = {nullptr, controls.删除文件, controls.删除目录, controls.删除目录下全部文件};
    int32_t mode = row_mode(edit_row);
    if (mode >= MODE_FILE && mode <= MODE_CONTENTS) check_kind(kinds[mode]);
    int32_t del_mode = row_del_mode(edit_row);
    if (del_mode == DEL_DELETE) check_method(controls.直接删除);
    if (del_mode == DEL_RECYCLE) check_method(controls.移动到回收站);
    SetWindowTextA(controls.目录输入框, row_file(edit_row).c_str());
    SetWindowTextA(controls.备注输入框, row_remark(edit_row).c_str());
    SetWindowTextA(controls.时间输入框, int_to_text(row_time(edit_row)).c_str());
  }
  if (!dropped_path.empty()) take_path(dropped_path);
  append_log("数据处理窗口载入完成");
  return TRUE;
}

void OnBrowseClicked(HWND window) {
  if (is_checked(controls.删除文件) && run_file_dialog(window)) SetWindowTextA(controls.目录输入框, chosen_file);
  if (is_checked(controls.删除目录) || is_checked(controls.删除目录下全部文件)) {
    std::string folder = browse_for_folder("选择你想自动清理的文件夹");
    if (!folder.empty()) SetWindowTextA(controls.目录输入框, folder.c_str());
  }
}

void OnConfirmClicked(HWND window) {
  if (text_to_int(window_text(controls.时间输入框)) <= 0) {
    show_message("时间错误");
    return;
  }
  if (window_text(controls.目录输入框).empty()) {
    show_message("目录为空");
    return;
  }
  if (editor_mode == 1) add_row_from_editor();
  if (editor_mode == 2) update_row_from_editor();
  PostMessageA(window, WM_CLOSE, 0, 0);  // destroyed once this handler has returned
}

void OnCommand(HWND window, int id, HWND, UINT) {
  if (id == IDB_BROWSE) OnBrowseClicked(window);
  if (id == IDB_CONFIRM) OnConfirmClicked(window);
}

void OnDestroy(HWND window) {
  revoke_drop_target(window);
  save_config();
  controls.editor_window = controls.目录输入框 = controls.时间输入框 = controls.备注输入框 = nullptr;
  controls.删除文件 = controls.删除目录 = controls.删除目录下全部文件 = nullptr;
  controls.直接删除 = controls.移动到回收站 = nullptr;
  method_box = nullptr;
}

LRESULT CALLBACK editor_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (process_exiting) return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, OnCreate);
    HANDLE_MSG(window, WM_COMMAND, OnCommand);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    case kDropMessage:
      take_path(first_drop_path(take_drop_text(lParam)));
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND create_editor_window() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  return create_centred_window(instance, kEditorClass, editor_window_proc, WS_EX_TOOLWINDOW, "添加目录",
                               WS_CAPTION | WS_SYSMENU | WS_DLGFRAME, kEditorWidth, kEditorHeight);
}

}  // namespace

void open_editor() {
  HWND editor = create_editor_window();
  if (!editor) return;
  std::vector<HWND> disabled = disable_program_windows(editor);
  ShowWindow(editor, SW_SHOW);
  MSG message;
  while (IsWindow(editor)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
      break;
    }
    if (got < 0) break;
    if (translate_escape(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  enable_windows(disabled);
}

std::string browse_for_folder(const char* title) {
  HWND active = GetActiveWindow();
  HWND foreground = GetForegroundWindow();
  std::vector<HWND> disabled = disable_program_windows(nullptr);
  char display_name[MAX_PATH] = "";
  BROWSEINFOA browse = {};
  browse.hwndOwner = IsWindow(active) ? active : nullptr;
  browse.pszDisplayName = display_name;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_EDITBOX;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  enable_windows(disabled);
  if (foreground && IsWindow(foreground)) SetForegroundWindow(foreground);
  if (active && IsWindow(active)) SetActiveWindow(active);
  if (!chosen) return std::string();
  char path[MAX_PATH] = "";
  std::string result = SHGetPathFromIDListA(chosen, path) ? std::string(path) : std::string();
  IMalloc* shell_allocator = nullptr;
  if (SHGetMalloc(&shell_allocator) == S_OK) {
    shell_allocator->Free(chosen);
    shell_allocator->Release();
  }
  return result;
}
