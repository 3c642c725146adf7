#include "core/task_table.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "core/app_state.h"
#include "core/text_number.h"
#include "persist/activity_log.h"
#include "persist/config_file.h"
#include "ui/main_window.h"

namespace {

struct ColumnSpec {
  const char* header;
  int width;
  int format;
};

const ColumnSpec kColumns[] = {
    {"序号", 55, LVCFMT_LEFT},      {"目录", 360, LVCFMT_CENTER},     {"模式", 80, LVCFMT_CENTER},
    {"删除方式", 100, LVCFMT_CENTER}, {"时间", 80, LVCFMT_CENTER}, {"备注", 80, LVCFMT_CENTER},
};

const char* const kModeTexts[] = {"文件", "目录", "子目录"};
const char* const kDelModeTexts[] = {"删除", "回收站"};

HWND table() { return controls.超级列表框1; }

std::string window_text(HWND window) {
  if (!window) return std::string();
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool is_checked(HWND button) {
  return button && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Steps 3 to 6 of writing a row from the editor's fields.
void write_row_from_editor(int32_t row) {
  set_cell(row, COL_FILE, window_text(controls.目录输入框));
  if (is_checked(controls.删除文件)) set_cell(row, COL_MODE, "文件");
  if (is_checked(controls.删除目录)) set_cell(row, COL_MODE, "目录");
  if (is_checked(controls.删除目录下全部文件)) set_cell(row, COL_MODE, "子目录");
  if (is_checked(controls.直接删除)) set_cell(row, COL_DEL_MODE, "删除");
  if (is_checked(controls.移动到回收站)) set_cell(row, COL_DEL_MODE, "回收站");
  set_cell(row, COL_TIME, window_text(controls.时间输入框));
  set_cell(row, COL_REMARK, window_text(controls.备注输入框));
}

int32_t code_of(const std::string& cell, const char* const* texts, int count) {
  for (int i = 0; i < count; ++i)
    if (cell == texts[i]) return i + 1;
  return 0;
}

}  // namespace

const char* mode_text(int32_t mode) { return mode >= 1 && mode <= 3 ? kModeTexts[mode - 1] : ""; }
const char* del_mode_text(int32_t del_mode) {
  return del_mode >= 1 && del_mode <= 2 ? kDelModeTexts[del_mode - 1] : "";
}

void add_task_columns() {
  for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<char*>(kColumns[i].header);
    column.iSubItem = i;
    SendMessageA(table(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

int32_t row_count() { return static_cast<int32_t>(SendMessageA(table(), LVM_GETITEMCOUNT, 0, 0)); }

int32_t append_row(const std::string& number_text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  item.iItem = row_count();
  item.pszText = const_cast<char*>(number_text.c_str());
  item.iImage = -1;
  return static_cast<int32_t>(SendMessageA(table(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

std::string get_cell(int32_t row, int32_t column) {
  if (row < 0 || row >= row_count() || column < 0) return std::string();
  std::vector<char> buffer(512);
  for (;;) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = '\0';
    LRESULT length = SendMessageA(table(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (length < static_cast<LRESULT>(buffer.size()) - 1) return std::string(buffer.data(), static_cast<size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}

void set_cell(int32_t row, int32_t column, const std::string& text) {
  if (row < 0 || row >= row_count()) return;
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(table(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void delete_row(int32_t row) { SendMessageA(table(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

int32_t selected_row() {
  return static_cast<int32_t>(SendMessageA(table(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string row_file(int32_t row) { return get_cell(row, COL_FILE); }
int32_t row_mode(int32_t row) { return code_of(get_cell(row, COL_MODE), kModeTexts, 3); }
int32_t row_del_mode(int32_t row) { return code_of(get_cell(row, COL_DEL_MODE), kDelModeTexts, 2); }
int32_t row_time(int32_t row) { return text_to_int(get_cell(row, COL_TIME)); }
std::string row_remark(int32_t row) { return get_cell(row, COL_REMARK); }

bool add_row_from_editor() {
  int32_t before = row_count();
  append_row(int_to_text(before + 1));
  // A refused insert must not overwrite the last existing row.
  if (row_count() == before + 1) write_row_from_editor(row_count() - 1);
  tick_count = 0;
  append_log("数据添加完成");
  return true;
}

bool update_row_from_editor() {
  int32_t row = edit_row;
  write_row_from_editor(row);
  tick_count = 0;
  append_log("数据修改完成");
  return true;
}

void renumber_rows() {
  int32_t n = row_count();
  for (int32_t i = 1; i <= n; ++i) set_cell(i - 1, COL_NUMBER, int_to_text(i));
}

void delete_selected_row() {
  int32_t selected = selected_row();
  if (selected == -1) {
    show_message("当前未选中任何项目");
    return;
  }
  delete_row(selected);
  save_config();
  renumber_rows();
  tick_count = 0;
}
