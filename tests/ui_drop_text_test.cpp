#include <gtest/gtest.h>

#include "ui/drop_text.h"

namespace {

TEST(DropText, SplitsIntoOnePiecePerDroppedItem) {
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"", {}},
      {"S:\\a.txt", {"S:\\a.txt"}},
      {"S:\\a\r\nS:\\b\r\n", {"S:\\a", "S:\\b"}},
      {"S:\\a\r\nS:\\b", {"S:\\a", "S:\\b"}},
      {"\r\n\r\nS:\\c\r\n", {"", "", "S:\\c"}},
      {"S:\\a\rb\nc\r\n", {"S:\\a\rb\nc"}},
      // 表 is B1 ED and 十 is CA AE: no byte of a double-byte character starts a separator.
      {"S:\\表\\十\r\nS:\\二\r\n", {"S:\\表\\十", "S:\\二"}},
      // A lead byte steps over the CR after it, so that CR LF is no separator.
      {"S:\\\x81\r\nx\r\n", {"S:\\\x81\r\nx"}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_drop_text(c.text), c.pieces) << c.text;
}

TEST(DropText, JoinsAsTheDropDeliversIt) {
  EXPECT_EQ(join_drop_text({"S:\\a"}), "S:\\a");
  EXPECT_EQ(join_drop_text({"S:\\a", "S:\\b"}), "S:\\a\r\nS:\\b\r\n");
  EXPECT_EQ(first_drop_path("S:\\a\r\nS:\\b\r\n"), "S:\\a");
  EXPECT_EQ(first_drop_path("S:\\only"), "S:\\only");
  EXPECT_EQ(first_drop_path(""), "");
}

}  // namespace
