#include <gtest/gtest.h>

#include "persist/timestamp.h"

namespace {

struct Case {
  LocalTime time;
  const char* expected;
};

const Case kCases[] = {
    {{2023, 1, 5, 8, 4, 9}, "2023年1月5日8时4分9秒"},
    {{2023, 1, 5, 8, 4, 0}, "2023年1月5日8时4分"},
    {{2023, 1, 5, 8, 0, 0}, "2023年1月5日8时"},
    {{2023, 1, 5, 0, 0, 0}, "2023年1月5日"},
    {{2023, 1, 5, 0, 0, 7}, "2023年1月5日0时0分7秒"},
    {{2023, 1, 5, 0, 30, 0}, "2023年1月5日0时30分"},
    {{2023, 12, 31, 23, 59, 59}, "2023年12月31日23时59分59秒"},
    {{2024, 2, 29, 12, 0, 1}, "2024年2月29日12时0分1秒"},
    {{2026, 10, 10, 10, 10, 0}, "2026年10月10日10时10分"},
};

class Timestamp : public ::testing::TestWithParam<Case> {};

TEST_P(Timestamp, FollowsTheChineseDateForm) { EXPECT_EQ(timestamp_text(GetParam().time), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, Timestamp, ::testing::ValuesIn(kCases));

TEST(Timestamp, IsGbk) {
  // "年" is C4 EA in GBK.
  EXPECT_EQ(timestamp_text({2023, 1, 5, 0, 0, 0}), "2023\xC4\xEA" "1\xD4\xC2" "5\xC8\xD5");
}

}  // namespace
