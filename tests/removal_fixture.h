// Shared by the removal tests: tasks in the real table, the Recycle Bin in a
// scratch folder, and directory links made from the Linux side.
#pragma once
#include <cstdint>
#include <string>

#include "tests/app_fixture.h"

// Points the shell's Recycle Bin (XDG_DATA_HOME) at a fresh scratch folder, so a
// test can look into Trash\files. Must run before the first shell call of the process.
std::string use_scratch_trash();
// The folder the Recycle Bin moves into, after use_scratch_trash.
std::string trash_files();

// A Unix symbolic link at link (a scratch path) to the folder target (a scratch
// path); under Wine it reads as directory + reparse point. False when it cannot be made.
bool make_directory_link(const std::string& link, const std::string& target);
// The raw Linux calls under it, on Linux paths.
bool make_unix_link(const std::string& unix_link, const std::string& unix_target);
void remove_unix_link(const std::string& unix_link);

class RemovalTest : public AppTest {
 protected:
  // Appends a task row; returns its index.
  int32_t add_task(const std::string& path, const char* mode, const char* del_mode, const char* time = "1");
  // The log lines of removals only.
  std::string removal_lines() const;
  std::string label() const;
};
