#include "rt/strings.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(StrFromInt, WritesASignOnlyForNegativesAndNoPadding) {
  EXPECT_EQ(StrFromInt(0), "0");
  EXPECT_EQ(StrFromInt(-15), "-15");
  EXPECT_EQ(StrFromInt(2147483647), "2147483647");
  EXPECT_EQ(StrFromInt(-2147483647 - 1), "-2147483648");
}

TEST(StrConcat, JoinsBytesIncludingNulsAndEmptyParts) {
  const std::string joined = StrConcat("Punkte:", StrFromInt(3));
  EXPECT_EQ(joined.size(), 8u);
  EXPECT_EQ(joined, "Punkte:3");
  EXPECT_EQ(StrConcat("", ""), "");
  EXPECT_EQ(StrConcat(std::string_view("a\0b", 3), "c"), std::string("a\0bc", 4));
}

TEST(StrCompare, OrdersByUnsignedBytesThenByLength) {
  EXPECT_EQ(StrCompare("abc", "abd"), -1);
  EXPECT_EQ(StrCompare("abd", "abc"), 1);
  EXPECT_EQ(StrCompare("abc", "ab"), 1);
  EXPECT_EQ(StrCompare("ab", "abc"), -1);
  EXPECT_EQ(StrCompare("", ""), 0);
  EXPECT_EQ(StrCompare("Maus", "Maus"), 0);
}

TEST(StrCompare, CodePageUmlautSortsAfterEveryAsciiLetter) {
  const std::string ue = "\x81";
  for (char c = 'A'; c <= 'z'; ++c) EXPECT_EQ(StrCompare(std::string(1, c), ue), -1) << c;
  EXPECT_EQ(StrCompare("\xFFk", "\xFFk"), 0);
  EXPECT_EQ(StrCompare("\xFF", "\x7F"), 1);
}

}  // namespace
}  // namespace rt
