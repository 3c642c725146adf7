#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include "tests/bench_env.h"

int main(int argc, char** argv) {
  int child_exit_code = 0;
  if (run_child_action(argc, argv, &child_exit_code)) return child_exit_code;
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
