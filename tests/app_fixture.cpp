#include "tests/app_fixture.h"

#include "core/app_state.h"
#include "persist/activity_log.h"
#include "tests/bench_env.h"
#include "ui/main_window.h"

void reset_process_values() {
  point = 0;
  tick_count = 0;
  editor_mode = 0;
  edit_row = 0;
  dropped_path.clear();
  log_buffer.clear();
  forget_log_file();
}

void AppTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  dir_ = make_scratch_dir(name);
  reset_process_values();
  exe_dir = dir_;
  ASSERT_TRUE(create_main_window(GetModuleHandleA(nullptr), SW_HIDE));
  KillTimer(controls.main_window, kTickTimerId);  // tests drive ticks themselves
}

void AppTest::TearDown() {
  if (controls.main_window) DestroyWindow(controls.main_window);
  // Drop the quit message the main window's destruction posts.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  controls = Controls{};
}

std::string AppTest::log_text() const { return log_messages(read_file(dir_ + "\\log.txt")); }

EditorStandIn::EditorStandIn() {
  window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  auto make = [&](const char* cls, DWORD style) {
    return CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 10, 10, window_, nullptr, nullptr, nullptr);
  };
  controls.editor_window = window_;
  controls.目录输入框 = make("EDIT", ES_AUTOHSCROLL);
  controls.时间输入框 = make("EDIT", ES_AUTOHSCROLL);
  controls.备注输入框 = make("EDIT", ES_AUTOHSCROLL);
  controls.删除文件 = make("BUTTON", BS_AUTORADIOBUTTON | WS_GROUP);
  controls.删除目录 = make("BUTTON", BS_AUTORADIOBUTTON);
  controls.删除目录下全部文件 = make("BUTTON", BS_AUTORADIOBUTTON);
  controls.直接删除 = make("BUTTON", BS_AUTORADIOBUTTON | WS_GROUP);
  controls.移动到回收站 = make("BUTTON", BS_AUTORADIOBUTTON);
}

EditorStandIn::~EditorStandIn() {
  DestroyWindow(window_);
  controls.editor_window = controls.目录输入框 = controls.时间输入框 = controls.备注输入框 = nullptr;
  controls.删除文件 = controls.删除目录 = controls.删除目录下全部文件 = nullptr;
  controls.直接删除 = controls.移动到回收站 = nullptr;
}

void EditorStandIn::fill(const std::string& path, const std::string& time, const std::string& remark, int mode,
                         int del_mode) {
  SetWindowTextA(controls.目录输入框, path.c_str());
  SetWindowTextA(controls.时间输入框, time.c_str());
  SetWindowTextA(controls.备注输入框, remark.c_str());
  HWND modes[] = {controls.删除文件, controls.删除目录, controls.删除目录下全部文件};
  HWND methods[] = {controls.直接删除, controls.移动到回收站};
  for (int i = 0; i < 3; ++i) SendMessageA(modes[i], BM_SETCHECK, mode == i + 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  for (int i = 0; i < 2; ++i)
    SendMessageA(methods[i], BM_SETCHECK, del_mode == i + 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}
