#include "removal/removal_actions.h"

#include <windows.h>

#include "core/app_state.h"
#include "core/gbk_text.h"
#include "core/task_table.h"
#include "core/text_number.h"
#include "persist/activity_log.h"
#include "removal/file_services.h"

void remove_file_target(const std::string& path, int32_t row) {
  if (!path_exists(path)) return;
  if (row_del_mode(row) == DEL_DELETE && delete_file(path)) report_removal(path + " 删除完成");
  if (row_del_mode(row) == DEL_RECYCLE && move_to_recycle_bin(path)) report_removal(path + " 移动到回收站");
}

void remove_directory_target(const std::string& path, int32_t row) {
  if (!path_exists(path)) return;
  if (row_del_mode(row) == DEL_DELETE && remove_directory_tree(path)) report_removal(path + " 删除完成");
  if (row_del_mode(row) == DEL_RECYCLE && move_to_recycle_bin(path)) report_removal(path + " 移动到回收站");
}

void remove_directory_contents(std::string& path, int32_t row) {
  // An empty path names no folder: "\*.*" would be the root of the current drive.
  if (path.find_first_not_of(' ') == std::string::npos) return;
  if (passes_through_link(path)) return;
  if (!ends_with_backslash(path)) path += "\\";
  HANDLE search = nullptr;
  for (std::string name = find_entry(path + "*.*", &search); !name.empty(); name = find_entry("", &search)) {
    if (name == "." || name == "..") continue;
    std::string entry = path + name;
    if (file_attributes(entry) == FILE_ATTRIBUTE_DIRECTORY)
      remove_directory_target(entry, row);
    else
      remove_file_target(entry, row);
  }
  find_close(&search);
}

void add_point() { point = static_cast<int32_t>(static_cast<uint32_t>(point) + 1u); }

void show_point() {
  if (controls.标签2) SetWindowTextA(controls.标签2, int_to_text(point).c_str());
}

void report_removal(const std::string& message) {
  append_log(message);
  add_point();
  show_point();
}
