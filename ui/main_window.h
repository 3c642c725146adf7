// The main window: the task table, the counter, three buttons, the one-second
// timer and the tray icon; and the program's message box.
#pragma once
#include <windows.h>

#include <string>

#include "ui/control_table.h"

// The main window's class: also how a second start finds the running copy.
constexpr char kMainWindowClass[] = "SweepwardenMain";
constexpr UINT_PTR kTickTimerId = 1;             // 时钟1
constexpr UINT WMAPP_NOTIFYCALLBACK = WM_APP + 100;  // tray icon mouse messages
constexpr UINT kTrayIconId = 100;

// Control and menu ids.
enum MainIds {
  IDL_TASKS = 101,
  IDS_CAPTION = 102,
  IDS_COUNTER = 103,
  IDB_ADD = 104,
  IDB_TIME = 105,
  IDB_DELETE = 106,
  IDM_SHOW_WINDOW = 201,
  IDM_EXIT = 202,
};

// Creates the main window and its controls; its creation runs on_main_created.
bool create_main_window(HINSTANCE instance, int show_command);

// Runs until a quit message. Esc anywhere in a window of ours is a close request.
void run_message_loop();
// True when the message was an Esc turned into a close request.
bool translate_escape(const MSG& message);

void show_message(const std::string& text);

// The tray icon: added when there is none, replaced when there is, removed for no icon.
bool set_tray_icon(HICON icon, const char* tip);
void remove_tray_icon();
// The program icon at one of its sizes and colour depths, from the resource.
HICON load_program_icon(int size, int bits_per_pixel);
HICON load_tray_icon();

// The tray icon's mouse message: a right click shows the tray menu, a double
// click shows the main window.
void on_tray_event(UINT mouse_message);
// The popup "显示窗口" / "退出软件" at the cursor; the choice comes as a command.
void show_tray_menu();

// Makes the window accept dropped file lists; its procedure gets the drop text
// as kDropMessage (ui/drop_target.h). A second registration does nothing.
bool register_drop_target(HWND window);
