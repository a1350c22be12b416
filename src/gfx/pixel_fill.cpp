#include "gfx/pixel_fill.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rt {

void FillPixels32(std::uint32_t* pixels, std::size_t count, std::uint32_t colour) {
#if defined(__SSE2__)
  if (count * 4 >= kStreamingFillBytes) {
    // Streaming stores need 16-byte alignment: plain stores up to it.
    while (reinterpret_cast<std::uintptr_t>(pixels) & 15) {
      *pixels++ = colour;
      --count;
    }
    const __m128i four = _mm_set1_epi32(int(colour));
    auto* out = reinterpret_cast<__m128i*>(pixels);
    for (std::size_t blocks = count / 16; blocks > 0; --blocks, out += 4) {
      _mm_stream_si128(out, four);
      _mm_stream_si128(out + 1, four);
      _mm_stream_si128(out + 2, four);
      _mm_stream_si128(out + 3, four);
    }
    // Streamed stores are weakly ordered; fence them before the lock is released.
    _mm_sfence();
    pixels += count & ~std::size_t(15);
    count &= 15;
  }
#endif
  std::fill_n(pixels, count, colour);
}

}  // namespace rt
