#include "removal/scheduler.h"

#include <string>

#include "core/app_state.h"
#include "core/task_table.h"
#include "removal/due_test.h"
#include "removal/removal_actions.h"

void on_tick() {
  tick_count = static_cast<int32_t>(static_cast<uint32_t>(tick_count) + 1u);
  int32_t rows = row_count();
  for (int32_t row = 0; row < rows; ++row) {
    if (!is_due(tick_count, row_time(row))) continue;
    std::string path = row_file(row);
    if (row_mode(row) == MODE_FILE) remove_file_target(path, row);
    if (row_mode(row) == MODE_DIRECTORY) remove_directory_target(path, row);
    if (row_mode(row) == MODE_CONTENTS) remove_directory_contents(path, row);
  }
}
