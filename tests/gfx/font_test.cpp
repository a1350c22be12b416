#include "gfx/font.h"

#include <gtest/gtest.h>

#include <vector>

namespace rt {
namespace {

// Glyph rows with the leftmost pixel in bit 7, the order ROM listings use.
std::vector<int> RomRows(int fontIndex, unsigned char character) {
  const BuiltinFont& font = FontByIndex(fontIndex);
  std::vector<int> rows;
  for (int r = 0; r < font.height; ++r) {
    int reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (font.Glyph(character)[r] >> bit & 1) reversed |= 0x80 >> bit;
    rows.push_back(reversed);
  }
  return rows;
}

TEST(BuiltinFonts, AreIndexedByHeightAsTheModeTableNamesThem) {
  EXPECT_EQ(FontByIndex(0).height, 8);
  EXPECT_EQ(FontByIndex(1).height, 14);
  EXPECT_EQ(FontByIndex(2).height, 16);
}

TEST(BuiltinFonts, VgaFontHasTheRomLettersWithBitZeroLeftmost) {
  EXPECT_EQ(RomRows(2, 'A'), (std::vector<int>{0x00, 0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6,
                                               0xC6, 0xC6, 0, 0, 0, 0}));
  EXPECT_EQ(RomRows(2, 'T'), (std::vector<int>{0x00, 0x00, 0x7E, 0x7E, 0x5A, 0x18, 0x18, 0x18, 0x18, 0x18,
                                               0x18, 0x3C, 0, 0, 0, 0}));
  // Stored order: the leftmost pixel of "A"'s apex row is column 3, bit 3.
  EXPECT_EQ(FontByIndex(2).Glyph('A')[2], 0x08);
}

TEST(BuiltinFonts, GermanLettersSitAtTheirCodePage437Bytes) {
  // 0x8E is "Ä", 0x81 "ü", 0xE1 "ß" (stored order, bit 0 leftmost).
  const std::uint8_t* a = FontByIndex(2).Glyph(0x8E);
  EXPECT_EQ(std::vector<int>(a, a + 16), (std::vector<int>{0x00, 0x63, 0x00, 0x08, 0x1C, 0x36, 0x63, 0x63,
                                                           0x7F, 0x63, 0x63, 0x63, 0, 0, 0, 0}));
  const std::uint8_t* u = FontByIndex(1).Glyph(0x81);
  EXPECT_EQ(std::vector<int>(u, u + 14),
            (std::vector<int>{0x00, 0x00, 0x33, 0x33, 0x00, 0x33, 0x33, 0x33, 0x33, 0x33, 0x6E, 0, 0, 0}));
  const std::uint8_t* sz = FontByIndex(0).Glyph(0xE1);
  EXPECT_EQ(std::vector<int>(sz, sz + 8), (std::vector<int>{0x1E, 0x33, 0x33, 0x1B, 0x33, 0x63, 0x33, 0x00}));
}

TEST(BuiltinFonts, SmallerFontsHaveTheirOwnShapes) {
  EXPECT_EQ(RomRows(1, 'A'), (std::vector<int>{0x00, 0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6,
                                               0xC6, 0x00, 0x00, 0x00}));
  EXPECT_EQ(RomRows(0, 'A'), (std::vector<int>{0x30, 0x78, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0x00}));
}

TEST(BuiltinFonts, SpaceIsBlankAndFullBlockIsSolidInEveryFont) {
  for (int index = 0; index < 3; ++index) {
    const BuiltinFont& font = FontByIndex(index);
    for (int r = 0; r < font.height; ++r) {
      EXPECT_EQ(font.Glyph(' ')[r], 0x00) << "font " << index << " row " << r;
      EXPECT_EQ(font.Glyph(0xDB)[r], 0xFF) << "font " << index << " row " << r;
    }
  }
}

TEST(BuiltinFonts, ControlBytesArePictures) {
  // Byte 1 is the smiling face, not a blank control character.
  EXPECT_EQ(RomRows(2, 1), (std::vector<int>{0x00, 0x00, 0x7E, 0x81, 0xA5, 0x81, 0x81, 0xBD, 0x99, 0x81, 0x81,
                                             0x7E, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace rt
