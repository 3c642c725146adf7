#include "persist/timestamp.h"

#include <cstdio>

std::string timestamp_text(const LocalTime& t) {
  char text[128];
  int length = std::snprintf(text, sizeof text, "%d年%d月%d日", t.year, t.month, t.day);
  std::string out(text, length > 0 ? static_cast<size_t>(length) : 0);
  if (t.second != 0) {
    length = std::snprintf(text, sizeof text, "%d时%d分%d秒", t.hour, t.minute, t.second);
  } else if (t.minute != 0) {
    length = std::snprintf(text, sizeof text, "%d时%d分", t.hour, t.minute);
  } else if (t.hour != 0) {
    length = std::snprintf(text, sizeof text, "%d时", t.hour);
  } else {
    length = 0;
  }
  out.append(text, length > 0 ? static_cast<size_t>(length) : 0);
  return out;
}
