#include <gtest/gtest.h>

#include "core/text_number.h"

namespace {

struct Case {
  const char* text;
  int32_t expected;
};

// Full-width forms are GBK pairs: "０" is A3 B0, "－" A3 AD, "＋" A3 AB, ideographic space A1 A1.
const Case kCases[] = {
    {"3600", 3600},
    {"\xA3\xB3\xA3\xB6\xA3\xB0\xA3\xB0", 3600},  // ３６００
    {"   3600", 3600},
    {"\xA1\xA1\xA1\xA1" "3600", 3600},  // ideographic spaces
    {" \t\n\v\f\r7", 7},
    {"60abc", 60},
    {"60秒", 60},
    {"0060", 60},
    {"1\xA3\xB2" "3", 123},  // half- and full-width digits mixed
    {"", 0},
    {"abc", 0},
    {"秒60", 0},
    {"-5", -5},
    {"\xA3\xAD\xA3\xB5", -5},  // －５
    {"+5", 5},
    {"\xA3\xAB\xA3\xB5", 5},  // ＋５
    {"- 5", 0},
    {"+-5", 0},
    {"--5", 0},
    {"2147483647", 2147483647},
    {"2147483648", INT32_MIN},  // wraps modulo 2^32
    {"4294967296", 0},
    {"4294967301", 5},
    {"-2147483648", INT32_MIN},
    {"-2147483649", INT32_MAX},
    {"99999999999", 1215752191},
    {"12\x81", 12},  // a lone lead byte at the end is dropped
    {"\x81", 0},
    {"5\xA3", 5},
    {"\xA1\xAB" "5", 0},  // "～" folds to "~", which is no digit
    {"中1", 0},
};

class TextToInt : public ::testing::TestWithParam<Case> {};

TEST_P(TextToInt, ReadsTheLeadingInteger) {
  EXPECT_EQ(text_to_int(GetParam().text), GetParam().expected) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToInt, ::testing::ValuesIn(kCases));

TEST(TextToInt, StopsAtAnEmbeddedNul) {
  EXPECT_EQ(text_to_int(std::string("12\0" "34", 5)), 12);
}

TEST(IntToText, WritesPlainDecimal) {
  EXPECT_EQ(int_to_text(0), "0");
  EXPECT_EQ(int_to_text(-5), "-5");
  EXPECT_EQ(int_to_text(INT32_MIN), "-2147483648");
  EXPECT_EQ(int_to_text(3600), "3600");
}

}  // namespace
