#include "gfx/text_render.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "gfx/pixel_fill.h"

namespace rt {

namespace {

// Runs `action` with a value of the pixel type for the byte count.
template <typename Action>
void WithPixelType(int bytesPerPixel, Action&& action) {
  switch (bytesPerPixel) {
    case 4: action(std::uint32_t{}); break;
    case 2: action(std::uint16_t{}); break;
    default: action(std::uint8_t{}); break;
  }
}

template <typename Pixel>
Pixel* PixelRow(const Surface& surface, int y) {
  return reinterpret_cast<Pixel*>(surface.Row(y));
}

// Sets the pixels of the set bits, walking set bits only; `x` may lie left of
// the row as long as the bits that reach there are masked off.
template <typename Pixel>
inline void PlotBits(Pixel* row, int x, unsigned bits, Pixel color) {
  while (bits != 0) {
    row[x + std::countr_zero(bits)] = color;
    bits &= bits - 1;
  }
}

template <typename Pixel>
void DrawTransparent(const Surface& surface, const BuiltinFont& font, const ClippedText& text, Pixel color) {
  const auto* characters = reinterpret_cast<const std::uint8_t*>(text.characters.data());
  const std::size_t last = text.characters.size() - 1;
  const unsigned onlyMask = text.firstMask & text.lastMask;
  for (int r = 0; r < text.glyphRows; ++r) {
    Pixel* row = PixelRow<Pixel>(surface, text.y + r);
    const std::uint8_t* glyphRow = font.glyphs + text.firstGlyphRow + r;
    if (last == 0) {
      PlotBits(row, text.x, glyphRow[characters[0] * font.height] & onlyMask, color);
      continue;
    }
    PlotBits(row, text.x, glyphRow[characters[0] * font.height] & text.firstMask, color);
    int x = text.x + kFontWidth;
    for (std::size_t i = 1; i < last; ++i, x += kFontWidth)
      PlotBits(row, x, glyphRow[characters[i] * font.height], color);
    PlotBits(row, x, glyphRow[characters[last] * font.height] & text.lastMask, color);
  }
}

template <typename Pixel>
void DrawOpaque(const Surface& surface, const BuiltinFont& font, int x, int y, std::string_view text,
                Pixel foreground, Pixel background) {
  for (int r = 0; r < font.height; ++r) {
    Pixel* pixel = PixelRow<Pixel>(surface, y + r) + x;
    for (unsigned char character : text) {
      const unsigned bits = font.glyphs[character * font.height + r];
      for (int column = 0; column < kFontWidth; ++column)
        pixel[column] = (bits >> column & 1) ? foreground : background;
      pixel += kFontWidth;
    }
  }
}

}  // namespace

bool ClipText(std::string_view text, long long x, long long y, int fontHeight, const Rect& clip,
              ClippedText& out) {
  // The string as a block of pixels; a string too wide for an int cannot
  // reach the clip with its far end anyway.
  const long long length = std::min<long long>(text.size(), std::numeric_limits<int>::max() / kFontWidth);
  CopyBlock visible;
  if (!ClipBlock(clip, x, y, 0, 0, int(length) * kFontWidth, fontHeight, visible)) return false;

  const int firstChar = visible.sourceX / kFontWidth;
  const int endChar = (visible.sourceX + visible.target.width + kFontWidth - 1) / kFontWidth;
  out.characters = text.substr(firstChar, endChar - firstChar);
  out.x = visible.target.left - visible.sourceX % kFontWidth;
  out.y = visible.target.top;
  out.firstGlyphRow = visible.sourceY;
  out.glyphRows = visible.target.height;
  out.firstMask = static_cast<std::uint8_t>(0xFFu << (visible.sourceX % kFontWidth));
  const int shownOfLast = (visible.sourceX + visible.target.width) - (endChar - 1) * kFontWidth;
  out.lastMask = static_cast<std::uint8_t>(0xFFu >> (kFontWidth - shownOfLast));
  return true;
}

void DrawGlyphsTransparent(const Surface& surface, const BuiltinFont& font, const ClippedText& text,
                           std::uint32_t color) {
  WithPixelType(surface.bytesPerPixel, [&](auto tag) {
    using Pixel = decltype(tag);
    DrawTransparent<Pixel>(surface, font, text, static_cast<Pixel>(color));
  });
}

void DrawCellsOpaque(const Surface& surface, const BuiltinFont& font, int x, int y, std::string_view text,
                     std::uint32_t foreground, std::uint32_t background) {
  WithPixelType(surface.bytesPerPixel, [&](auto tag) {
    using Pixel = decltype(tag);
    DrawOpaque<Pixel>(surface, font, x, y, text, static_cast<Pixel>(foreground),
                      static_cast<Pixel>(background));
  });
}

void FillRect(const Surface& surface, const Rect& rect, std::uint32_t color) {
  // Whole rows of unpadded pixels are one run: a full clear fills it at once.
  const bool oneRun = rect.left == 0 && rect.width == surface.width &&
                      surface.pitchBytes == surface.width * surface.bytesPerPixel;
  const int runs = oneRun ? 1 : rect.height;
  const std::size_t runPixels = oneRun ? std::size_t(rect.width) * rect.height : std::size_t(rect.width);
  for (int i = 0; i < runs; ++i) {
    FillPixels(surface.Row(rect.top + i) + std::size_t(rect.left) * surface.bytesPerPixel, runPixels,
               surface.bytesPerPixel, color);
  }
}

}  // namespace rt
