#include "gfx/pixel_fill.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace rt {

namespace {

// The C library's fill of 32-bit units, with its vector stores chosen for
// the processor: as fast as memset, which the compiler's own loop for a
// 32-bit fill is not (it stores one pixel at a time at -O2). Streaming stores
// that bypass the cache measured slower: the screen is drawn over and
// presented while it is still cached.
static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));

void FillPixels32(std::uint32_t* pixels, std::size_t count, std::uint32_t color) {
  std::wmemset(reinterpret_cast<wchar_t*>(pixels), static_cast<wchar_t>(color), count);
}

}  // namespace

void FillPixels(std::uint8_t* pixels, std::size_t count, int bytesPerPixel, std::uint32_t color) {
  switch (bytesPerPixel) {
    case 4: FillPixels32(reinterpret_cast<std::uint32_t*>(pixels), count, color); break;
    case 2:
      std::fill_n(reinterpret_cast<std::uint16_t*>(pixels), count, static_cast<std::uint16_t>(color));
      break;
    default: std::memset(pixels, static_cast<int>(color & 0xFF), count);
  }
}

}  // namespace rt
