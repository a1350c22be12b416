#pragma once

#include <cstdint>
#include <string_view>

#include "rt/result.h"

namespace rt {

struct ImageBuffer;

// coordFlags bit 31: no color given, draw in the context's foreground.
inline constexpr int kColorNotGiven = int(0x80000000u);
// coordFlags for text in the current color: plain coordinates (mode 4,
// which places like 0) in the context's foreground.
inline constexpr int kAbsoluteInForeground = 4 | kColorNotGiven;

// Draws the bytes of `text` (every byte is a glyph, controls included) with
// the mode's built-in font, top-left corner at (x, y) rounded half away from
// zero and offset by the clip origin. Only set glyph bits are drawn; clear
// bits leave the target as it was. The color is 0xRRGGBB (converted to the
// target's depth) unless coordFlags carries kColorNotGiven. target nullptr is
// the screen, clipped to the graphics view; an image clips to its own area.
// ResultIllegalCall without a screen, for an unknown coordinate mode or for
// an image header that describes no image. Records the result.
Result DrawString(ImageBuffer* target, double x, double y, int coordFlags, std::string_view text,
                  std::uint32_t color = 0);

// The character-cell console on the graphics screen. Print writes the bytes
// at the cursor (7 beeps, 8 backspace, 9 tab, 10 line feed, 13 return) and,
// with `newline`, ends the line. A line end at the bottom of the text view is
// kept pending, so the view scrolls only when more output follows.
void Print(std::string_view text, bool newline = true);
// 1-based; a value <= 0 keeps that coordinate. Values beyond the grid are
// clamped to its last row or column.
void Locate(int row, int column);
// mode kOmitted, 0 (whole page), 1 (graphics view) or 2 (text view).
void Cls(int mode = kOmitted);
// Cls() and then Put(nullptr, 0, 0, picture) in one step, with the same
// pixels, dirty rows, console and result; where the picture covers all that
// the clear fills, the fill is left out, as the copy overwrites every pixel
// of it. A frame that starts with a full-screen picture clears for nothing.
Result ClsAndPut(const ImageBuffer* picture);

inline constexpr int kColorForegroundOmitted = 1 << 0;
inline constexpr int kColorBackgroundOmitted = 1 << 1;
// Sets the context's colors from 0xRRGGBB values (converted to the depth);
// returns the previous foreground.
std::uint32_t Color(std::uint32_t foreground, std::uint32_t background, int flags = 0);

}  // namespace rt
