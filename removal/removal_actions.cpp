#include "removal/removal_actions.h"

#include <windows.h>

#include "core/app_state.h"
#include "core/text_number.h"
#include "persist/activity_log.h"

void add_point() { point = static_cast<int32_t>(static_cast<uint32_t>(point) + 1u); }

void show_point() {
  if (controls.标签2) SetWindowTextA(controls.标签2, int_to_text(point).c_str());
}

void report_removal(const std::string& message) {
  append_log(message);
  add_point();
  show_point();
}
