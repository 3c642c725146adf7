// The one-second tick, driven tick by tick over the real task table.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/task_table.h"
#include "removal/due_test.h"
#include "removal/scheduler.h"
#include "tests/app_fixture.h"
#include "tests/bench_env.h"
#include "tests/removal_fixture.h"

namespace {

TEST(DueTest, PeriodDividesTheTickCount) {
  struct Case {
    int32_t tick, period;
    bool due;
  } cases[] = {
      {1, 1, true},        {7, 1, true},        {4, 2, true},   {5, 2, false},      {3600, 3600, true},
      {3599, 3600, false}, {5, -5, true},       {6, -5, false}, {10, -5, true},     {1, 0, false},
      {0, 0, false},       {-4, 2, true},       {2147483647, 2147483647, true}, {2147483646, 2147483647, false},
      {-2147483647 - 1, 2, true},
  };
  for (const Case& c : cases) EXPECT_EQ(is_due(c.tick, c.period), c.due) << c.tick << " by " << c.period;
}

// Rows are file tasks with "删除" on files put back before every tick, so each
// tick's log lines say which rows ran, in order.
class Scheduler : public RemovalTest {
 protected:
  int32_t add_row(const char* period, const char* kind = "文件") {
    int32_t row = row_count();
    std::string file = dir_ + "\\row" + std::to_string(row) + ".txt";
    files_.push_back(file);
    return add_task(file, kind, "删除", period);
  }
  // One tick; gives the rows it carried out, as "0,1,".
  std::string tick() {
    for (const std::string& file : files_) write_file(file, "x");
    std::string before = removal_lines();
    on_tick();
    std::string lines = removal_lines().substr(before.size());
    std::string rows;
    size_t start = 0;
    while (start < lines.size()) {
      size_t end = lines.find('\n', start);
      std::string line = lines.substr(start, end - start);
      for (size_t i = 0; i < files_.size(); ++i)
        if (line == files_[i] + " 删除完成") rows += std::to_string(i) + ",";
      start = end + 1;
    }
    return rows;
  }
  std::vector<std::string> files_;
};

TEST_F(Scheduler, AnEmptyTableOnlyCounts) {
  for (int i = 1; i <= 3; ++i) {
    on_tick();
    EXPECT_EQ(tick_count, i);
  }
  EXPECT_EQ(removal_lines(), "");
}

TEST_F(Scheduler, PeriodsTwoAndThreeRunAtTheirMultiplesInTableOrder) {
  add_row("2");
  add_row("3");
  std::vector<std::string> seen;
  for (int i = 1; i <= 6; ++i) seen.push_back(tick());
  EXPECT_EQ(seen, (std::vector<std::string>{"", "0,", "1,", "0,", "", "0,1,"}));
  EXPECT_EQ(tick_count, 6);
}

TEST_F(Scheduler, PeriodOneRunsEveryTickAndMinusFiveEveryFifth) {
  add_row("1");
  add_row("-5");
  std::string seen;
  for (int i = 1; i <= 10; ++i) seen += tick() + "|";
  EXPECT_EQ(seen, "0,|0,|0,|0,|0,1,|0,|0,|0,|0,|0,1,|");
}

TEST_F(Scheduler, APeriodReadingAsZeroIsNeverDueAndStopsNothing) {
  // "0", and texts a hand-edited cfg.ini can leave that read as 0.
  add_row("1");
  add_row("0");
  add_row("abc");
  add_row("");
  add_row("1");
  MessageBoxWatcher error_box("错误");
  std::string seen;
  for (int i = 1; i <= 3; ++i) seen += tick() + "|";
  EXPECT_EQ(seen, "0,4,|0,4,|0,4,|");
  EXPECT_EQ(error_box.wait_one(500), "");
  EXPECT_FALSE(process_exiting);
}

TEST_F(Scheduler, AnHourlyTaskRunsFirstAtTick3600AndAnEditStartsTheCountAgain) {
  add_row("3600");
  tick_count = 3598;
  EXPECT_EQ(tick(), "");
  EXPECT_EQ(tick(), "0,");
  EXPECT_EQ(tick_count, 3600);
  // One tick away again, then a task is added: the count starts over.
  tick_count = 7199;
  EditorStandIn editor;
  editor.fill(dir_ + "\\added-but-missing.txt", "5", "", 1, 1);
  ASSERT_TRUE(add_row_from_editor());
  EXPECT_EQ(tick_count, 0);
  write_file(files_[0], "x");
  for (int i = 1; i < 3600; ++i) on_tick();
  EXPECT_TRUE(file_exists(files_[0]));
  EXPECT_EQ(tick(), "0,");
  EXPECT_EQ(tick_count, 3600);
}

TEST_F(Scheduler, ModifyingOrDeletingARowStartsTheCountAgain) {
  add_row("2");
  add_row("2");
  tick_count = 41;
  EditorStandIn editor;
  editor.fill(files_[0], "2", "", 1, 1);
  edit_row = 0;
  ASSERT_TRUE(update_row_from_editor());
  EXPECT_EQ(tick_count, 0);
  EXPECT_EQ(tick(), "");
  EXPECT_EQ(tick(), "0,1,");
  ListView_SetItemState(controls.超级列表框1, 1, LVIS_SELECTED, LVIS_SELECTED);
  delete_selected_row();
  EXPECT_EQ(tick_count, 0);
  EXPECT_EQ(row_count(), 1);
}

TEST_F(Scheduler, RowsOfNoKnownKindNeverRunAndAFailedRemovalIsTriedAgain) {
  add_row("1", "其他");
  int32_t read_only_row = add_row("2");
  write_file(files_[read_only_row], "x");
  set_read_only(files_[read_only_row], true);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(tick(), "") << i;
  set_read_only(files_[read_only_row], false);
  EXPECT_EQ(tick(), "");
  EXPECT_EQ(tick(), "1,");
}

}  // namespace
