#include "gfx/pixel_fill.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rt {

namespace {

void FillPixels32(std::uint32_t* pixels, std::size_t count, std::uint32_t color) {
#if defined(__SSE2__)
  // At -O2 the compiler stores a 32-bit fill one pixel at a time; whole
  // 64-byte lines of 16-byte stores fill a screen about six times faster.
  // (Streaming stores that bypass the cache measured slower: the screen is
  // drawn over and presented while it is still cached.)
  if (count >= 32) {
    while (reinterpret_cast<std::uintptr_t>(pixels) & 63) {
      *pixels++ = color;
      --count;
    }
    const __m128i four = _mm_set1_epi32(int(color));
    auto* out = reinterpret_cast<__m128i*>(pixels);
    for (std::size_t lines = count / 16; lines > 0; --lines, out += 4) {
      _mm_store_si128(out, four);
      _mm_store_si128(out + 1, four);
      _mm_store_si128(out + 2, four);
      _mm_store_si128(out + 3, four);
    }
    pixels += count & ~std::size_t(15);
    count &= 15;
  }
#endif
  std::fill_n(pixels, count, color);
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
