// A test with the program's real main window (hidden), its exe_dir in a fresh
// scratch folder, and every process-wide value back at its start value.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

void reset_process_values();

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string log_text() const;
  std::string dir_;
};

// Editor controls made by a test, standing in for the task editor's own.
class EditorStandIn {
 public:
  EditorStandIn();
  ~EditorStandIn();
  // mode: 1 文件, 2 目录, 3 子目录, 0 none checked; del_mode: 1 删除, 2 回收站, 0 none.
  void fill(const std::string& path, const std::string& time, const std::string& remark, int mode, int del_mode);
 private:
  HWND window_;
};
