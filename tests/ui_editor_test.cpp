// The task editor window, opened by the real main window and driven from inside
// its own modal loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/app_state.h"
#include "core/task_table.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"
#include "tests/ui_support.h"
#include "ui/main_window.h"
#include "ui/task_editor.h"

namespace {

size_t count_of(const std::string& text, const std::string& line) {
  size_t count = 0;
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + line.size())) ++count;
  return count;
}

class EditorTest : public AppTest {
 protected:
  // Presses add and runs the action on the editor that opens.
  void add_with(EditorScript::Action action) {
    EditorScript script({std::move(action)});
    click(controls.main_window, IDB_ADD);
    EXPECT_EQ(script.opened(), 1);
  }
  void fill(const std::string& path, const std::string& time, const std::string& remark) {
    SetWindowTextA(controls.目录输入框, path.c_str());  // as a drop or the browse dialogs would
    SetWindowTextA(controls.时间输入框, time.c_str());
    SetWindowTextA(controls.备注输入框, remark.c_str());
  }
};

TEST_F(EditorTest, AddOpensInTheCreationStateAndAddsTheTask) {
  add_with([&](HWND editor) {
    EXPECT_EQ(text_of(editor), "添加目录");
    EXPECT_EQ(text_of(editor_item(IDB_CONFIRM)), "添加");
    EXPECT_EQ(text_of(controls.时间输入框), "3600");
    EXPECT_EQ(text_of(controls.目录输入框), "");
    EXPECT_EQ(text_of(controls.备注输入框), "");
    EXPECT_EQ(kind_checks(), "001");
    EXPECT_EQ(method_checks(), "01");
    EXPECT_FALSE(IsWindowEnabled(controls.目录输入框));  // the path is never typed
    EXPECT_FALSE(IsWindowEnabled(controls.main_window));
    RECT frame;
    GetWindowRect(editor, &frame);
    EXPECT_EQ(frame.right - frame.left, 574);
    EXPECT_EQ(frame.bottom - frame.top, 240);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 574) / 2);
    EXPECT_TRUE(GetWindowLongA(editor, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(editor, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    fill(dir_ + "\\a.txt", "5", "note");
    SendMessageA(controls.删除文件, BM_CLICK, 0, 0);  // a click checks it and clears its group
    SendMessageA(controls.直接删除, BM_CLICK, 0, 0);
    EXPECT_EQ(kind_checks(), "100");
    EXPECT_EQ(method_checks(), "10");
    tick_count = 9;
    click(editor, IDB_CONFIRM);
    EXPECT_TRUE(IsWindow(editor)) << "closed by a posted message, after the handler";
  });
  EXPECT_EQ(controls.editor_window, nullptr);
  EXPECT_EQ(controls.目录输入框, nullptr);
  EXPECT_TRUE(IsWindowEnabled(controls.main_window));
  ASSERT_EQ(row_count(), 1);
  EXPECT_EQ(row_file(0), dir_ + "\\a.txt");
  EXPECT_EQ(get_cell(0, COL_MODE), "文件");
  EXPECT_EQ(get_cell(0, COL_DEL_MODE), "删除");
  EXPECT_EQ(get_cell(0, COL_TIME), "5");
  EXPECT_EQ(row_remark(0), "note");
  EXPECT_EQ(tick_count, 0);
  std::string log = log_text();
  EXPECT_NE(log.find("数据处理窗口载入完成\n数据添加完成\n配置写入完成\n"), std::string::npos) << log;
}

TEST_F(EditorTest, ConfirmChecksThePeriodBeforeThePath) {
  struct Case {
    const char* time;
    bool with_path;
    const char* message;
  };
  const Case cases[] = {
      {"0", true, "时间错误"}, {"-5", true, "时间错误"}, {"", true, "时间错误"},  {"abc", true, "时间错误"},
      {"0", false, "时间错误"}, {"1", false, "目录为空"}, {"１２", false, "目录为空"},
  };
  add_with([&](HWND editor) {
    MessageBoxWatcher watcher("信息：");
    for (const Case& c : cases) {
      fill(c.with_path ? dir_ + "\\x" : "", c.time, "");
      click(editor, IDB_CONFIRM);
      EXPECT_EQ(watcher.wait_one(), c.message) << "period \"" << c.time << "\"";
      EXPECT_EQ(row_count(), 0);
    }
    pump_messages(100);
    EXPECT_TRUE(IsWindow(editor)) << "the window stays open";
    PostMessageA(editor, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(row_count(), 0);
  EXPECT_EQ(count_of(log_text(), "配置写入完成"), 1u);  // closing without a change still saves
}

TEST_F(EditorTest, PeriodFieldTakesOnlyDigitsAndMinusWhenTyped) {
  add_with([&](HWND editor) {
    SetWindowTextA(controls.时间输入框, "");
    for (char c : std::string("1a-x 2.3")) SendMessageA(controls.时间输入框, WM_CHAR, c, 0);
    EXPECT_EQ(text_of(controls.时间输入框), "1-23");
    // Pasted text is taken whole; the row keeps it and its period reads as 12.
    fill(dir_ + "\\f", "12abc", "");
    click(editor, IDB_CONFIRM);
  });
  ASSERT_EQ(row_count(), 1);
  EXPECT_EQ(get_cell(0, COL_TIME), "12abc");
  EXPECT_EQ(row_time(0), 12);
}

TEST_F(EditorTest, EscClosesTheEditorAndSaves) {
  add_with([&](HWND) { PostMessageA(controls.备注输入框, WM_KEYDOWN, VK_ESCAPE, 0); });
  EXPECT_EQ(controls.editor_window, nullptr);
  EXPECT_EQ(row_count(), 0);
  EXPECT_EQ(count_of(log_text(), "配置写入完成"), 1u);
}

TEST_F(EditorTest, TheTimerTicksWhileTheEditorIsOpen) {
  add_with([&](HWND editor) {
    tick_count = 0;
    SetTimer(controls.main_window, kTickTimerId, 100, nullptr);
    SetTimer(editor, 1, 700, [](HWND window, UINT, UINT_PTR id, DWORD) {
      KillTimer(window, id);
      PostMessageA(window, WM_CLOSE, 0, 0);
    });
  });
  KillTimer(controls.main_window, kTickTimerId);
  EXPECT_GE(tick_count, 3);
}

TEST_F(EditorTest, ModifyShowsTheRowAndAKindCellOfNoKindAsContents) {
  {
    EditorStandIn stand_in;
    stand_in.fill(dir_ + "\\old", "0060", "r", 1, 1);
    add_row_from_editor();
  }
  set_cell(0, COL_MODE, "其他");
  ListView_SetItemState(controls.超级列表框1, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EditorScript script({[&](HWND editor) {
    EXPECT_EQ(text_of(editor_item(IDB_CONFIRM)), "修改");
    EXPECT_EQ(text_of(controls.目录输入框), dir_ + "\\old");
    EXPECT_EQ(text_of(controls.时间输入框), "60");
    EXPECT_EQ(text_of(controls.备注输入框), "r");
    EXPECT_EQ(kind_checks(), "001");
    EXPECT_EQ(method_checks(), "10");
    click(editor, IDB_CONFIRM);
  }});
  click(controls.main_window, IDB_TIME);
  ASSERT_EQ(script.opened(), 1);
  EXPECT_EQ(get_cell(0, COL_MODE), "子目录");
  EXPECT_EQ(get_cell(0, COL_TIME), "60");
}

TEST_F(EditorTest, DropOnTheEditorChoosesTheKindByTheAttributes) {
  make_dir(dir_ + "\\plain");
  make_dir(dir_ + "\\hidden");
  SetFileAttributesA((dir_ + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  make_dir(dir_ + "\\system");
  SetFileAttributesA((dir_ + "\\system").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ASSERT_EQ(GetFileAttributesA((dir_ + "\\system").c_str()) & 0x37, 0x14u);
  ASSERT_EQ(GetFileAttributesA((dir_ + "\\hidden").c_str()) & 0x37, 0x12u);
  write_file(dir_ + "\\file.txt", "x");
  struct Case {
    std::vector<std::string> paths;
    const char* kinds;  // kind buttons after the drop; 删除目录 checked before it
  };
  const Case cases[] = {
      {{dir_ + "\\file.txt"}, "100"},
      {{dir_ + "\\plain"}, "010"},
      {{dir_ + "\\hidden"}, "100"},
      {{dir_ + "\\system"}, "100"},
      {{dir_ + "\\missing"}, "100"},
      {{dir_ + "\\plain", dir_ + "\\file.txt"}, "010"},  // several items: the first one counts
  };
  add_with([&](HWND editor) {
    for (const Case& c : cases) {
      SendMessageA(controls.删除目录, BM_CLICK, 0, 0);
      SendMessageA(controls.直接删除, BM_CLICK, 0, 0);
      SetWindowTextA(controls.备注输入框, "keep");
      EXPECT_EQ(drop_on(editor, c.paths), static_cast<DWORD>(DROPEFFECT_COPY));
      pump_messages(50);
      EXPECT_EQ(text_of(controls.目录输入框), c.paths.front());
      EXPECT_EQ(kind_checks(), c.kinds) << c.paths.front();
      EXPECT_EQ(method_checks(), "10");
      EXPECT_EQ(text_of(controls.备注输入框), "keep");
    }
    PostMessageA(editor, WM_CLOSE, 0, 0);
  });
}

TEST_F(EditorTest, BrowseOpensTheFileDialogForAFileAndKeepsThePathOnCancel) {
  write_file(dir_ + "\\chosen.txt", "x");
  std::string seen_title;
  add_with([&](HWND editor) {
    SendMessageA(controls.删除文件, BM_CLICK, 0, 0);
    SetWindowTextA(controls.目录输入框, "before");
    // Cancel, then choose a file by typing its full path.
    for (int round = 0; round < 2; ++round) {
      HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      struct Answer {
        std::string path;
        HANDLE done;
        std::string title;
      } answer = {round == 1 ? dir_ + "\\chosen.txt" : "", done, ""};
      HANDLE thread = CreateThread(
          nullptr, 0,
          [](void* data) -> DWORD {
            Answer* answer = static_cast<Answer*>(data);
            for (int i = 0; i < 200; ++i) {
              HWND dialog = FindWindowA("#32770", "请输入想要定期删除的文件");
              if (dialog && IsWindowVisible(dialog)) {
                answer->title = "请输入想要定期删除的文件";
                Sleep(200);
                if (answer->path.empty()) {
                  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                } else {
                  HWND name = GetDlgItem(dialog, 0x47c);  // the file-name combo box
                  HWND edit = FindWindowExA(name, nullptr, "Edit", nullptr);
                  SendMessageA(edit ? edit : name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer->path.c_str()));
                  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                }
                break;
              }
              Sleep(50);
            }
            SetEvent(answer->done);
            return 0;
          },
          &answer, 0, nullptr);
      click(editor, IDB_BROWSE);
      WaitForSingleObject(done, 10000);
      WaitForSingleObject(thread, 10000);
      CloseHandle(thread);
      CloseHandle(done);
      EXPECT_EQ(answer.title, "请输入想要定期删除的文件");
      EXPECT_EQ(text_of(controls.目录输入框), round == 1 ? dir_ + "\\chosen.txt" : "before");
    }
    PostMessageA(editor, WM_CLOSE, 0, 0);
  });
}

TEST_F(EditorTest, BrowseOpensTheFolderBrowserForADirectoryKind) {
  add_with([&](HWND editor) {
    SetWindowTextA(controls.目录输入框, "before");
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
          // The browser's window: a dialog of our process showing the title as its text.
          for (int i = 0; i < 200; ++i) {
            HWND found = nullptr;
            EnumWindows(
                [](HWND window, LPARAM out) -> BOOL {
                  DWORD process = 0;
                  GetWindowThreadProcessId(window, &process);
                  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
                  HWND text = FindWindowExA(window, nullptr, "Static", "选择你想自动清理的文件夹");
                  if (!text) return TRUE;
                  *reinterpret_cast<HWND*>(out) = window;
                  return FALSE;
                },
                reinterpret_cast<LPARAM>(&found));
            if (found) {
              Sleep(200);
              PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
              return 1;
            }
            Sleep(50);
          }
          return 0;
        },
        nullptr, 0, nullptr);
    click(editor, IDB_BROWSE);
    WaitForSingleObject(thread, 15000);
    DWORD found = 0;
    GetExitCodeThread(thread, &found);
    CloseHandle(thread);
    EXPECT_EQ(found, 1u) << "no folder browser with the title";
    EXPECT_EQ(text_of(controls.目录输入框), "before");
    EXPECT_TRUE(IsWindowEnabled(editor));
    PostMessageA(editor, WM_CLOSE, 0, 0);
  });
}

}  // namespace
