#include <gtest/gtest.h>

#include "core/gbk_text.h"

namespace {

struct Case {
  const char* text;
  bool ends_with_backslash;
};

// "\x81\x5C" and "\xD5\x5C" are double-byte characters whose second byte is 0x5C.
const Case kCases[] = {
    {"", false},
    {"\\", true},
    {"C:\\temp\\", true},
    {"C:\\temp", false},
    {"C:\\\x81\x5C", false},
    {"C:\\\xD5\x5C", false},
    {"C:\\\xD5\x5C\\", true},
    {"\x81\x5C\x81\x5C", false},
    {"a\x81", false},  // a lone lead byte at the end
    {"\\\x81", false},
};

class EndsWithBackslash : public ::testing::TestWithParam<Case> {};

TEST_P(EndsWithBackslash, StepsByCharacters) {
  EXPECT_EQ(ends_with_backslash(GetParam().text), GetParam().ends_with_backslash) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, EndsWithBackslash, ::testing::ValuesIn(kCases));

TEST(LastBackslash, SkipsTrailBytes) {
  EXPECT_EQ(last_backslash("S:\\dir\\\xD5\x5C.exe"), 6u);
  EXPECT_EQ(last_backslash("\xD5\x5C"), std::string::npos);
  EXPECT_EQ(last_backslash("S:\\\xD5\x5C\\x"), 5u);
}

}  // namespace
