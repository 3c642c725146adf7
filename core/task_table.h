// The task table: the list view 超级列表框1 is the only store of tasks.
// A task is a row, addressed by its zero-based index at the moment of use.
#pragma once
#include <cstdint>
#include <string>

enum TaskColumn { COL_NUMBER = 0, COL_FILE = 1, COL_MODE = 2, COL_DEL_MODE = 3, COL_TIME = 4, COL_REMARK = 5 };

// Kind codes (column "模式") and method codes (column "删除方式").
enum TaskMode { MODE_NONE = 0, MODE_FILE = 1, MODE_DIRECTORY = 2, MODE_CONTENTS = 3 };
enum TaskDelMode { DEL_NONE = 0, DEL_DELETE = 1, DEL_RECYCLE = 2 };

// Texts of the codes; empty for a code that has none.
const char* mode_text(int32_t mode);
const char* del_mode_text(int32_t del_mode);

// Adds the six columns to a fresh list view.
void add_task_columns();

// Row operations on 超级列表框1.
int32_t row_count();
int32_t append_row(const std::string& number_text);
std::string get_cell(int32_t row, int32_t column);
void set_cell(int32_t row, int32_t column, const std::string& text);
void delete_row(int32_t row);
int32_t selected_row();

// Task accessors: read the control on every call.
std::string row_file(int32_t row);
int32_t row_mode(int32_t row);
int32_t row_del_mode(int32_t row);
int32_t row_time(int32_t row);
std::string row_remark(int32_t row);

// Writers, from the editor's controls.
bool add_row_from_editor();
bool update_row_from_editor();
void delete_selected_row();
void renumber_rows();
