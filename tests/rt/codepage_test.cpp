#include "rt/codepage.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(Cp437, GermanLettersBecomeTheirCodePageBytes) {
  EXPECT_EQ(Cp437("ü ä ö ß Ä Ö Ü"), "\x81 \x84 \x94 \xE1 \x8E \x99 \x9A");
  EXPECT_EQ(Cp437("Menü"), "Men\x81");
  EXPECT_EQ(Cp437("€"), "?");
}

TEST(Cp437, EveryHighByteRoundTripsThroughUnicode) {
  for (int b = 1; b < 256; ++b) {
    EXPECT_EQ(UnicodeToCp437(Cp437ToUnicode(static_cast<unsigned char>(b))), b) << b;
  }
}

TEST(Windows1252, TitlesCarryLatin1BytesAndConvertBackToUtf8) {
  EXPECT_EQ(Windows1252("Menü | Morvanta"), "Men\xFC | Morvanta");
  EXPECT_EQ(Windows1252("gelöscht"), "gel\xF6scht");
  EXPECT_EQ(Windows1252ToUtf8("Men\xFC"), "Menü");
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\uFFFD");
}

TEST(Utf8, MalformedInputAdvancesOneByteAtATime) {
  std::string bad = "\xC3";  // a lead byte cut off at the end
  std::size_t pos = 0;
  EXPECT_EQ(DecodeUtf8(bad, pos), 0xFFFDu);
  EXPECT_EQ(pos, 1u);
  std::string broken = "\xE2\x41\x41";
  pos = 0;
  EXPECT_EQ(DecodeUtf8(broken, pos), 0xFFFDu);
  EXPECT_EQ(DecodeUtf8(broken, pos), U'A');
}

}  // namespace
}  // namespace rt
