// The main window end to end in this process: its buttons, the double click, the
// tray, the close request and drops, with real editor windows opening modally.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/app_state.h"
#include "core/task_table.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"
#include "tests/ui_support.h"
#include "ui/drop_target.h"
#include "ui/main_window.h"
#include "ui/task_editor.h"

namespace {

class MainWindowTest : public AppTest {
 protected:
  void add_task(const std::string& path, const std::string& time) {
    EditorStandIn stand_in;
    stand_in.fill(path, time, "", 1, 1);
    add_row_from_editor();
  }
  void select(int row) {
    ListView_SetItemState(controls.超级列表框1, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  static void close_editor(HWND editor) { PostMessageA(editor, WM_CLOSE, 0, 0); }
};

TEST_F(MainWindowTest, WindowFrameIsFixedCentredAndShowsInTheTaskbar) {
  HWND window = controls.main_window;
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 880);
  EXPECT_EQ(frame.bottom - frame.top, 480);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 880) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 480) / 2);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  DWORD extended = ListView_GetExtendedListViewStyle(controls.超级列表框1);
  EXPECT_EQ(extended & (LVS_EX_FLATSB | LVS_EX_INFOTIP), static_cast<DWORD>(LVS_EX_FLATSB | LVS_EX_INFOTIP));
  EXPECT_EQ(text_of(controls.标签2), "0");
}

TEST_F(MainWindowTest, TimeModifiesTheSelectedRowAndSavesTwice) {
  add_task(dir_ + "\\a", "10");
  select(0);
  tick_count = 7;
  EditorScript script({[&](HWND editor) {
    EXPECT_FALSE(IsWindowEnabled(controls.main_window));
    SetWindowTextA(controls.时间输入框, "20");
    click(editor, IDB_CONFIRM);
  }});
  std::string before = log_text();
  click(controls.main_window, IDB_TIME);
  EXPECT_EQ(script.opened(), 1);
  EXPECT_EQ(get_cell(0, COL_TIME), "20");
  EXPECT_EQ(tick_count, 0);
  EXPECT_TRUE(IsWindowEnabled(controls.main_window));
  EXPECT_EQ(log_text().substr(before.size()), "数据处理窗口载入完成\n数据修改完成\n配置写入完成\n配置写入完成\n");
}

TEST_F(MainWindowTest, DoubleClickModifiesWithOneSaveAndRestartsTheCountEvenWithoutAChange) {
  add_task(dir_ + "\\a", "10");
  select(0);
  RECT row;
  ListView_GetItemRect(controls.超级列表框1, 0, &row, LVIR_BOUNDS);
  LPARAM at = MAKELPARAM(row.left + 40, (row.top + row.bottom) / 2);
  struct Case {
    bool change;
    const char* new_lines;
  };
  const Case cases[] = {
      {true, "数据处理窗口载入完成\n数据修改完成\n配置写入完成\n"},
      {false, "数据处理窗口载入完成\n配置写入完成\n"},
  };
  for (const Case& c : cases) {
    tick_count = 7;
    EditorScript script({[&](HWND editor) {
      SetWindowTextA(controls.备注输入框, "changed");
      if (c.change) click(editor, IDB_CONFIRM);
      else close_editor(editor);
    }});
    std::string before = log_text();
    SendMessageA(controls.超级列表框1, WM_LBUTTONDBLCLK, MK_LBUTTON, at);  // the list view raises NM_DBLCLK
    EXPECT_EQ(script.opened(), 1);
    EXPECT_EQ(tick_count, 0);
    EXPECT_EQ(log_text().substr(before.size()), c.new_lines);
  }
  EXPECT_EQ(row_remark(0), "changed");
}

TEST_F(MainWindowTest, WithoutASelectionTimeAndDeleteSayNothingIsSelectedAndDoubleClickDoesNothing) {
  add_task(dir_ + "\\a", "10");
  tick_count = 5;
  std::string before = log_text();
  MessageBoxWatcher watcher("信息：");
  for (int id : {IDB_TIME, IDB_DELETE}) {
    EditorScript script({close_editor});
    PostMessageA(controls.main_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    EXPECT_EQ(watcher.wait_one(), "当前未选中任何项目");
    pump_messages(100);
    EXPECT_EQ(script.opened(), 0);
  }
  EditorScript script({close_editor});
  SendMessageA(controls.超级列表框1, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 300));
  pump_messages(100);
  EXPECT_EQ(script.opened(), 0);
  EXPECT_EQ(row_count(), 1);
  EXPECT_EQ(tick_count, 5);
  EXPECT_EQ(log_text(), before);
  EXPECT_FALSE(file_exists(dir_ + "\\cfg.ini"));
}

TEST_F(MainWindowTest, AddThenDeleteTheSelectedTask) {
  EditorScript script({[&](HWND editor) {
    SetWindowTextA(controls.目录输入框, (dir_ + "\\x").c_str());
    click(editor, IDB_CONFIRM);
  }});
  click(controls.main_window, IDB_ADD);
  ASSERT_EQ(row_count(), 1);
  select(0);
  click(controls.main_window, IDB_DELETE);
  EXPECT_EQ(row_count(), 0);
}

TEST_F(MainWindowTest, AddClosedWithoutAddingLeavesTheCountRunning) {
  tick_count = 4;
  EditorScript script({close_editor});
  click(controls.main_window, IDB_ADD);
  EXPECT_EQ(script.opened(), 1);
  EXPECT_EQ(tick_count, 4);
  EXPECT_EQ(editor_mode, 1);
}

TEST_F(MainWindowTest, DropOfThreePathsOpensThreeEditorsInOrder) {
  make_dir(dir_ + "\\folder");
  write_file(dir_ + "\\one.txt", "1");
  std::vector<std::string> paths = {dir_ + "\\one.txt", dir_ + "\\folder", dir_ + "\\missing"};
  std::vector<std::string> seen, kinds;
  auto record = [&](bool confirm) {
    return [&, confirm](HWND editor) {
      seen.push_back(text_of(controls.目录输入框));
      kinds.push_back(kind_checks());
      EXPECT_EQ(text_of(editor_item(IDB_CONFIRM)), "添加");
      EXPECT_FALSE(dropped_path.empty());
      if (confirm) click(editor, IDB_CONFIRM);
      else close_editor(editor);
    };
  };
  EditorScript script({record(true), record(false), record(true)});
  EXPECT_EQ(drop_on(controls.main_window, paths), static_cast<DWORD>(DROPEFFECT_COPY));
  ASSERT_TRUE(pump_until([&] { return script.opened() == 3 && !controls.editor_window; }, 15000));
  pump_messages(100);
  EXPECT_EQ(seen, paths);
  EXPECT_EQ(kinds, (std::vector<std::string>{"100", "001", "100"}));
  EXPECT_TRUE(dropped_path.empty());
  ASSERT_EQ(row_count(), 2);
  EXPECT_EQ(row_file(0), paths[0]);
  EXPECT_EQ(row_file(1), paths[2]);
}

TEST_F(MainWindowTest, DropTargetAcceptsFileListsOnlyWithTheEffectOfTheKeys) {
  IDropTarget* target = drop_target_of(controls.main_window);
  ASSERT_NE(target, nullptr);
  EXPECT_TRUE(register_drop_target(controls.main_window)) << "a second registration does nothing";
  EXPECT_EQ(drop_target_of(controls.main_window), target);
  struct Case {
    bool file_list;
    DWORD keys;
    DWORD effect;
  };
  const Case cases[] = {
      {true, 0, DROPEFFECT_COPY},
      {true, MK_SHIFT, DROPEFFECT_MOVE},
      {true, MK_CONTROL, DROPEFFECT_COPY},
      {true, MK_SHIFT | MK_CONTROL, DROPEFFECT_NONE},
      {false, 0, DROPEFFECT_NONE},
  };
  for (const Case& c : cases) {
    IDataObject* data = make_file_drop({dir_ + "\\a"}, c.file_list);
    POINTL at = {0, 0};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, c.keys, at, &effect);
    EXPECT_EQ(effect, c.effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(c.keys, at, &effect);
    EXPECT_EQ(effect, c.effect);
    target->DragLeave();
    data->Release();
  }
  // A drop that is refused opens no editor.
  EditorScript script({close_editor});
  EXPECT_EQ(drop_on(controls.main_window, {dir_ + "\\a"}, MK_SHIFT | MK_CONTROL), static_cast<DWORD>(DROPEFFECT_NONE));
  pump_messages(200);
  EXPECT_EQ(script.opened(), 0);
}

TEST_F(MainWindowTest, CloseRequestHidesWhileTicksGoOnAndTrayDoubleClickShows) {
  HWND window = controls.main_window;
  ShowWindow(window, SW_SHOW);
  std::string before = log_text();
  for (bool escape : {false, true}) {
    ShowWindow(window, SW_SHOW);
    if (escape) {
      PostMessageA(controls.add, WM_KEYDOWN, VK_ESCAPE, 0);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (!translate_escape(message)) DispatchMessageA(&message);
    } else {
      SendMessageA(window, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window)) << (escape ? "Esc" : "close");
  }
  tick_count = 0;
  SetTimer(window, kTickTimerId, 1000, nullptr);
  EXPECT_TRUE(pump_until([] { return tick_count >= 2; }, 5000));
  KillTimer(window, kTickTimerId);
  EXPECT_EQ(log_text(), before);
  EXPECT_FALSE(file_exists(dir_ + "\\cfg.ini"));

  SendMessageA(window, WMAPP_NOTIFYCALLBACK, kTrayIconId, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(window)) << "a single click does nothing";
  SendMessageA(window, WMAPP_NOTIFYCALLBACK, kTrayIconId, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(window));
}

// The tray menu is a real popup: found from another thread, read, and answered with keys.
struct MenuSeen {
  std::vector<std::string> items;
  RECT frame = {};
  bool found = false;
};

DWORD WINAPI answer_tray_menu(void* data) {
  MenuSeen* seen = static_cast<MenuSeen*>(data);
  for (int i = 0; i < 200 && !seen->found; ++i, Sleep(50)) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) continue;
    seen->found = true;
    GetWindowRect(popup, &seen->frame);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
      char text[64] = "";
      GetMenuStringA(menu, item, text, sizeof text, MF_BYPOSITION);
      seen->items.push_back(text);
    }
    PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
  }
  return 0;
}

TEST_F(MainWindowTest, TrayRightClickShowsTheMenuLeftOfTheCursorAndItsFirstItemShowsTheWindow) {
  HWND window = controls.main_window;
  SetCursorPos(600, 500);
  MenuSeen seen;
  HANDLE thread = CreateThread(nullptr, 0, answer_tray_menu, &seen, 0, nullptr);
  SendMessageA(window, WMAPP_NOTIFYCALLBACK, kTrayIconId, WM_RBUTTONUP);
  pump_messages(300);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.items, (std::vector<std::string>{"显示窗口", "退出软件"}));
  EXPECT_EQ(seen.frame.right, 600 - 5);
  EXPECT_EQ(seen.frame.top, 500 - 5);
  EXPECT_TRUE(IsWindowVisible(window));
}

}  // namespace
