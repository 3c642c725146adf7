// The real exe driven from this process as a user would: a task added through
// the editor, carried out on a real file, and the program ended from the tray menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/bench_env.h"
#include "ui/main_window.h"
#include "ui/task_editor.h"

namespace {

// A visible top-level window of that process with that class, or nullptr.
HWND find_window_of(DWORD process_id, const char* window_class, DWORD timeout_ms) {
  struct Search {
    DWORD process_id;
    const char* window_class;
    HWND found;
  } search = {process_id, window_class, nullptr};
  for (DWORD waited = 0; waited < timeout_ms; waited += 50, Sleep(50)) {
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          Search* search = reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          char name[64] = "";
          GetClassNameA(window, name, sizeof name);
          if (owner != search->process_id || !IsWindowVisible(window) || lstrcmpA(name, search->window_class) != 0)
            return TRUE;
          search->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  }
  return nullptr;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string profile_value(const std::string& file, const char* section, const char* key) {
  char value[512] = "";
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, file.c_str());
  return value;
}

TEST(EndToEnd, TaskAddedThroughTheGuiRemovesAFileAndTheTrayMenuEndsTheProgram) {
  std::string dir = make_scratch_dir("e2e-gui");
  std::string victim = dir + "\\victim.txt";
  ASSERT_TRUE(write_file(victim, "remove me"));
  std::string log = dir + "\\log.txt";
  RunningProgram program;
  ASSERT_TRUE(program.start(dir));
  HWND main = program.main_window();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(wait_for_file(log, [](const std::string& t) { return contains(t, "主窗口载入完成"); }, kProgramStartTimeout))
      << read_file(log);

  // The add button, then the editor's fields: the path as a drop would set it.
  PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDB_ADD, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDB_ADD)));
  HWND editor = find_window_of(program.process_id(), kEditorClass, 15000);
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));
  SendMessageA(GetDlgItem(editor, IDE_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(victim.c_str()));
  SendMessageA(GetDlgItem(editor, IDE_TIME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2"));
  SendMessageA(GetDlgItem(editor, IDE_REMARK), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("端到端"));
  const int kinds[] = {IDR_FILE, IDR_DIRECTORY, IDR_CONTENTS};
  for (int id : kinds) SendMessageA(GetDlgItem(editor, id), BM_SETCHECK, id == IDR_FILE ? BST_CHECKED : BST_UNCHECKED, 0);
  HWND method_box = GetDlgItem(editor, IDC_METHOD_BOX);
  SendMessageA(GetDlgItem(method_box, IDR_DELETE), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(GetDlgItem(method_box, IDR_RECYCLE), BM_SETCHECK, BST_UNCHECKED, 0);
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDB_CONFIRM, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(editor, IDB_CONFIRM)));

  // The timer carries the task out on its period.
  std::string removed = victim + " 删除完成";
  ASSERT_TRUE(wait_for_file(log, [&](const std::string& t) { return contains(t, removed); }, 20000))
      << log_messages(read_file(log));
  EXPECT_FALSE(file_exists(victim));
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_TRUE(IsWindowEnabled(main));
  char counter[16] = "";
  GetWindowTextA(GetDlgItem(main, IDS_COUNTER), counter, sizeof counter);
  EXPECT_STREQ(counter, "1");

  // The tray icon's right click opens the menu; its second item ends the program.
  PostMessageA(main, WMAPP_NOTIFYCALLBACK, kTrayIconId, WM_RBUTTONUP);
  HWND menu = find_window_of(program.process_id(), "#32768", 10000);
  ASSERT_NE(menu, nullptr);
  for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 0);
  DWORD code = 12345;
  ASSERT_TRUE(program.wait_exit(15000, &code));
  EXPECT_EQ(code, 0u);

  std::string lines = log_messages(read_file(log));
  EXPECT_TRUE(contains(lines, "数据处理窗口载入完成\n数据添加完成\n配置写入完成\n")) << lines;
  EXPECT_TRUE(contains(lines, removed + "\n")) << lines;
  size_t end = lines.size() - std::string("配置写入完成\n正在退出程序\n").size();
  EXPECT_EQ(lines.substr(end), "配置写入完成\n正在退出程序\n");
  std::string config = dir + "\\cfg.ini";
  EXPECT_EQ(profile_value(config, "Sweepwarden", "num"), "1");
  EXPECT_EQ(profile_value(config, "Sweepwarden", "point"), "1");
  EXPECT_EQ(profile_value(config, "1", "file"), victim);
  EXPECT_EQ(profile_value(config, "1", "mode"), "1");
  EXPECT_EQ(profile_value(config, "1", "del_mode"), "1");
  EXPECT_EQ(profile_value(config, "1", "time"), "2");
  EXPECT_EQ(profile_value(config, "1", "remark"), "端到端");
}

}  // namespace
