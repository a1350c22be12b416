#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/font.h"
#include "gfx/rect.h"
#include "gfx/screen.h"

namespace rt {

// The pixel routines behind the text operations. Callers clip first; these
// loops never test bounds.

// The part of a string of glyphs that falls inside a clip rectangle. Whole
// characters left and right of the clip and glyph rows above and below it are
// gone; the first and last character carry masks of their columns inside it
// (bit 0 = the character's leftmost column).
struct ClippedText {
  std::string_view characters;
  int x = 0;  // target column of the first character's left edge, possibly left of the clip
  int y = 0;  // target row of the first glyph row drawn
  int firstGlyphRow = 0;
  int glyphRows = 0;
  std::uint8_t firstMask = 0xFF;
  std::uint8_t lastMask = 0xFF;
};

// Cuts `text` with its top-left corner at (x, y) to `clip`; false when
// nothing of it lies inside.
bool ClipText(std::string_view text, long long x, long long y, int fontHeight, const Rect& clip,
              ClippedText& out);

// Draws the set glyph bits in `color` (a pixel value); clear bits stay untouched.
void DrawGlyphsTransparent(const Surface& surface, const BuiltinFont& font, const ClippedText& text,
                           std::uint32_t color);

// Draws whole character cells from pixel (x, y) to the right: set bits in
// `foreground`, clear bits in `background` (pixel values).
void DrawCellsOpaque(const Surface& surface, const BuiltinFont& font, int x, int y, std::string_view text,
                     std::uint32_t foreground, std::uint32_t background);

// Fills a rectangle that lies inside the surface.
void FillRect(const Surface& surface, const Rect& rect, std::uint32_t color);

}  // namespace rt
