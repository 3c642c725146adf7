// The modal task editor window, in which a task is added or modified.
#pragma once
#include <windows.h>

#include <string>

// Control ids of the editor window.
enum EditorIds {
  IDR_FILE = 301,        // 删除文件
  IDR_DIRECTORY = 302,   // 删除目录
  IDR_CONTENTS = 303,    // 删除目录下全部文件
  IDC_METHOD_BOX = 304,  // 分组框1
  IDR_DELETE = 305,      // 直接删除
  IDR_RECYCLE = 306,     // 移动到回收站
  IDE_PATH = 307,        // 目录输入框
  IDE_REMARK = 308,      // 备注输入框
  IDE_TIME = 309,        // 时间输入框
  IDB_BROWSE = 310,      // 浏览按钮
  IDB_CONFIRM = 311,     // 添加按钮
  IDS_EDITOR_LABEL = 320,
};

extern const char kEditorClass[];

// Opens the editor in editor_mode and returns once it has been destroyed.
// While it is open every other window of the program is disabled.
void open_editor();

// The folder browser: the chosen folder's path, or "" when cancelled or when the
// choice has no file-system path.
std::string browse_for_folder(const char* title);
