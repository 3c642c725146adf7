// The log's timestamp: Chinese date form, no padding, trailing zero fields dropped.
#pragma once
#include <string>

struct LocalTime {
  int year, month, day, hour, minute, second;
};

std::string timestamp_text(const LocalTime& time);
