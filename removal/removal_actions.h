// The three removal actions that carry out a due task, and the bookkeeping of
// every success: a log line, one more in point, the new total on the counter.
// Failures are silent: an action that removes nothing leaves no trace.
#pragma once
#include <cstdint>
#include <string>

// A task of kind "文件", and one entry of a contents task.
void remove_file_target(const std::string& path, int32_t row);
// A task of kind "目录", and one subdirectory of a contents task.
void remove_directory_target(const std::string& path, int32_t row);
// A task of kind "子目录": every top-level entry of the folder; the folder stays.
// A trailing "\" may be appended to the caller's path.
void remove_directory_contents(std::string& path, int32_t row);

void add_point();
// Writes point into the counter label 标签2.
void show_point();
// Logs the message, counts one removal and shows the new total.
void report_removal(const std::string& message);
