#include "gfx/rgb_rows.h"

#include <cstring>

#include "gfx/vector_path.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace rt {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000;

// Four pixels come from three 32-bit loads.
void BgrToArgbPortable(const std::uint8_t* src, std::uint32_t* dst, int pixels) {
  int i = 0;
  for (; i + 4 <= pixels; i += 4, src += 12) {
    std::uint32_t a, b, c;
    std::memcpy(&a, src, 4);
    std::memcpy(&b, src + 4, 4);
    std::memcpy(&c, src + 8, 4);
    dst[i] = a | kOpaque;
    dst[i + 1] = (a >> 24) | (b << 8) | kOpaque;
    dst[i + 2] = (b >> 16) | (c << 16) | kOpaque;
    dst[i + 3] = (c >> 8) | kOpaque;
  }
  for (; i < pixels; ++i, src += 3)
    dst[i] = src[0] | std::uint32_t(src[1]) << 8 | std::uint32_t(src[2]) << 16 | kOpaque;
}

#if defined(__x86_64__)
// The vector loops read a few bytes beyond the pixels they convert, so each
// stops while those bytes still belong to the row and leaves the rest to the
// next narrower loop.

// Four pixels: bytes 0-7 and 6-13 side by side give two pixels in each
// 64-bit half, one in its low three bytes and one in bytes 3-5, which moves
// up by one byte.
int BgrToArgbSse2(const std::uint8_t* src, std::uint32_t* dst, int pixels) {
  const __m128i low = _mm_set1_epi64x(0x0000000000FFFFFF);
  const __m128i high = _mm_set1_epi64x(0x00FFFFFF00000000);
  const __m128i opaque = _mm_set1_epi32(int(kOpaque));
  int i = 0;
  for (; i + 5 <= pixels; i += 4, src += 12) {
    const __m128i bytes = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src)),
                                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + 6)));
    const __m128i argb = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(bytes, low), _mm_and_si128(_mm_slli_epi64(bytes, 8), high)), opaque);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), argb);
  }
  return i;
}

// Eight pixels: bytes 0-15 and 12-27 in the two halves, each spread into four
// pixels by one byte shuffle.
__attribute__((target("avx2"))) int BgrToArgbAvx2(const std::uint8_t* src, std::uint32_t* dst, int pixels) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                          0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i opaque = _mm256_set1_epi32(int(kOpaque));
  int i = 0;
  for (; i + 10 <= pixels; i += 8, src += 24) {
    const __m256i bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(src + 12),
                                              reinterpret_cast<const __m128i*>(src));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                        _mm256_or_si256(_mm256_shuffle_epi8(bytes, spread), opaque));
  }
  return i;
}
#endif

}  // namespace

void BgrToArgbRow(const std::uint8_t* bgr, std::uint32_t* argb, int pixels) {
  int done = 0;
#if defined(__x86_64__)
  const VectorPath path = ActiveVectorPath();
  if (path == VectorPath::Avx2) done = BgrToArgbAvx2(bgr, argb, pixels);
  if (path != VectorPath::Portable) done += BgrToArgbSse2(bgr + 3 * done, argb + done, pixels - done);
#endif
  BgrToArgbPortable(bgr + 3 * done, argb + done, pixels - done);
}

}  // namespace rt
