#include <gtest/gtest.h>
#include <windows.h>

#include "core/app_state.h"
#include "persist/activity_log.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"

namespace {

class ActivityLog : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    reset_process_values();
    exe_dir = dir_;
    log_ = dir_ + "\\log.txt";
  }
  void TearDown() override {
    if (file_exists(log_)) set_read_only(log_, false);
  }
  std::string dir_, log_;
};

// The timestamp is the Chinese date form: digits and the six unit characters.
bool is_timestamp(const std::string& text) {
  static const char* units[] = {"年", "月", "日", "时", "分", "秒"};
  size_t i = 0;
  int parts = 0;
  while (i < text.size()) {
    size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == digits) return false;
    bool matched = false;
    for (const char* unit : units)
      if (text.compare(i, 2, unit) == 0) {
        matched = true;
        i += 2;
      }
    if (!matched) return false;
    ++parts;
  }
  return parts >= 3;
}

TEST_F(ActivityLog, EachLineIsTimestampBlankMessageCrLf) {
  append_log("主窗口载入完成");
  append_log("");
  append_log("S:\\a b.txt 删除完成");
  std::string file = read_file(log_);
  EXPECT_EQ(file, log_buffer);
  size_t start = 0;
  const char* messages[] = {"主窗口载入完成", "", "S:\\a b.txt 删除完成"};
  for (const char* message : messages) {
    size_t end = file.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    std::string line = file.substr(start, end - start);
    size_t blank = line.find(' ');
    ASSERT_NE(blank, std::string::npos);
    EXPECT_TRUE(is_timestamp(line.substr(0, blank))) << line;
    EXPECT_EQ(line.substr(blank + 1), message);
    start = end + 2;
  }
  EXPECT_EQ(start, file.size());
}

TEST_F(ActivityLog, AnOldLogIsReplacedByTheFirstLine) {
  ASSERT_TRUE(write_file(log_, std::string(100000, 'x') + "\r\nold run\r\n"));
  append_log("第一行");
  EXPECT_EQ(read_file(log_), log_buffer);
  EXPECT_EQ(log_messages(read_file(log_)), "第一行\n");
}

TEST_F(ActivityLog, AReadOnlyLogCatchesUpWhenWritableAgain) {
  append_log("one");
  std::string first = read_file(log_);
  set_read_only(log_, true);
  append_log("two");
  append_log("three");
  EXPECT_EQ(read_file(log_), first);
  set_read_only(log_, false);
  append_log("four");
  EXPECT_EQ(read_file(log_), log_buffer);
  EXPECT_EQ(log_messages(read_file(log_)), "one\ntwo\nthree\nfour\n");
}

TEST_F(ActivityLog, ALogHeldOpenWithoutSharingCatchesUpWhenReleased) {
  append_log("one");
  HANDLE holder = CreateFileA(log_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  append_log("two");
  CloseHandle(holder);
  EXPECT_EQ(log_messages(read_file(log_)), "one\n");
  append_log("three");
  EXPECT_EQ(log_messages(read_file(log_)), "one\ntwo\nthree\n");
}

// Child: holds the file open without sharing until a release file appears.
ChildAction hold_child("hold_file", [](const std::string& path) -> int {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  write_file(path + ".held", "");
  for (int i = 0; i < 2000 && !file_exists(path + ".release"); ++i) Sleep(10);
  CloseHandle(file);
  return 0;
});

TEST_F(ActivityLog, ALogHeldByAnotherProcessCatchesUpWhenReleased) {
  append_log("one");
  HANDLE child = start_child("hold_file:" + log_);
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(wait_for_file(log_ + ".held", [&](const std::string&) { return file_exists(log_ + ".held"); }, 10000));
  append_log("two");
  append_log("three");
  write_file(log_ + ".release", "");
  ASSERT_EQ(WaitForSingleObject(child, 20000), WAIT_OBJECT_0);
  CloseHandle(child);
  EXPECT_EQ(log_messages(read_file(log_)), "one\n");
  append_log("four");
  EXPECT_EQ(read_file(log_), log_buffer);
  EXPECT_EQ(log_messages(read_file(log_)), "one\ntwo\nthree\nfour\n");
}

TEST_F(ActivityLog, ALogDeletedMidRunIsWrittenAgainWhole) {
  append_log("one");
  append_log("two");
  ASSERT_TRUE(DeleteFileA(log_.c_str()));
  append_log("three");
  EXPECT_EQ(read_file(log_), log_buffer);
  EXPECT_EQ(log_messages(read_file(log_)), "one\ntwo\nthree\n");
}

TEST_F(ActivityLog, ALogChangedByAnotherProgramIsWrittenAgainWhole) {
  append_log("one");
  append_log("two");
  // Same size, other bytes: appending would keep the stranger's bytes.
  std::string tampered = read_file(log_);
  tampered[tampered.size() - 3] = '#';
  ASSERT_TRUE(write_file(log_, tampered));
  append_log("three");
  EXPECT_EQ(read_file(log_), log_buffer);
  // Cut short.
  ASSERT_TRUE(write_file(log_, log_buffer.substr(0, 10)));
  append_log("four");
  EXPECT_EQ(read_file(log_), log_buffer);
  // Grown.
  ASSERT_TRUE(write_file(log_, log_buffer + "extra\r\n"));
  append_log("five");
  EXPECT_EQ(read_file(log_), log_buffer);
  EXPECT_EQ(log_messages(read_file(log_)), "one\ntwo\nthree\nfour\nfive\n");
}

TEST_F(ActivityLog, ManyLinesKeepTheFileEqualToTheRun) {
  for (int i = 0; i < 3000; ++i) append_log("line " + std::to_string(i));
  EXPECT_EQ(read_file(log_), log_buffer);
}

TEST_F(ActivityLog, WriteWholeFile) {
  std::string path = dir_ + "\\whole.bin";
  EXPECT_FALSE(write_whole_file(""));
  ASSERT_TRUE(write_file(path, "old contents"));
  EXPECT_TRUE(write_whole_file(path));
  EXPECT_TRUE(file_exists(path));
  EXPECT_EQ(read_file(path), "");
  std::string a = "abc", empty, b = std::string("d\0e", 3);
  EXPECT_TRUE(write_whole_file(path, {&a, &empty, &b}));
  EXPECT_EQ(read_file(path), std::string("abcd\0e", 6));
  set_read_only(path, true);
  EXPECT_FALSE(write_whole_file(path, {&a}));
  EXPECT_EQ(read_file(path), std::string("abcd\0e", 6));
  set_read_only(path, false);
}

}  // namespace
