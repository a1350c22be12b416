#pragma once

#include <cstdint>

namespace rt {

// A built-in code page 437 bitmap font, 8 pixels wide. The glyph of byte k
// is `height` row bytes starting at glyphs[k * height], top row first; in a
// row byte bit 0 is the leftmost pixel and bit 7 the rightmost.
struct BuiltinFont {
  int height;
  const std::uint8_t* glyphs;

  const std::uint8_t* Glyph(std::uint8_t character) const { return glyphs + character * height; }
};

inline constexpr int kFontWidth = 8;

// The font a mode names: 0 is 8 x 8, 1 is 8 x 14, 2 is 8 x 16. Any other
// index is a programmer error and gets the 8 x 16 font.
const BuiltinFont& FontByIndex(int index);

}  // namespace rt
