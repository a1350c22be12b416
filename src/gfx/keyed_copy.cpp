#include "gfx/keyed_copy.h"

#include <cstring>

#include "gfx/vector_path.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace rt {

namespace {

constexpr std::uint32_t kColorBits = 0x00FFFFFF;

void KeyedRowPortable(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i) {
    const std::uint32_t color = s[i] & kColorBits;
    if (color != key) d[i] = color;
  }
}

void CopyRowsPortable(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
                      std::ptrdiff_t sourcePitch, std::size_t rowBytes, int height) {
  for (int row = 0; row < height; ++row, target += targetPitch, source += sourcePitch)
    std::memcpy(target, source, rowBytes);
}

#if defined(__x86_64__)
// Up to this many bytes a row is copied in the AVX2 loop (CopyRowsAvx2), which measured
// faster than memcpy for the rows of 32- and 64-pixel sprites (memcpy's cost
// per call counts there) and as fast at 128 pixels; beyond, memcpy's wider
// stores win.
constexpr std::size_t kShortRowBytes = 512;

// Copying a pixel twice gives what copying it once does, so a row's last
// vector may overlap the one before instead of ending in a scalar tail.

__m128i KeyedSse2(__m128i source, __m128i target, __m128i key) {
  const __m128i color = _mm_and_si128(source, _mm_set1_epi32(int(kColorBits)));
  const __m128i keep = _mm_cmpeq_epi32(color, key);
  return _mm_or_si128(_mm_and_si128(keep, target), _mm_andnot_si128(keep, color));
}

void KeyedVectorSse2(std::uint32_t* d, const std::uint32_t* s, __m128i key) {
  auto* out = reinterpret_cast<__m128i*>(d);
  const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  _mm_storeu_si128(out, KeyedSse2(source, _mm_loadu_si128(out), key));
}

// n >= 4.
void KeyedRowSse2(std::uint32_t* d, const std::uint32_t* s, int n, __m128i key) {
  int i = 0;
  for (; i + 4 <= n; i += 4) KeyedVectorSse2(d + i, s + i, key);
  if (i < n) KeyedVectorSse2(d + n - 4, s + n - 4, key);
}

__attribute__((target("avx2"))) __m256i LoadAvx2(const void* p) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) void StoreAvx2(void* p, __m256i v) {
  _mm256_storeu_si256(static_cast<__m256i*>(p), v);
}

__attribute__((target("avx2"))) __m256i KeyedAvx2(__m256i source, __m256i target, __m256i key) {
  const __m256i color = _mm256_and_si256(source, _mm256_set1_epi32(int(kColorBits)));
  return _mm256_blendv_epi8(color, target, _mm256_cmpeq_epi32(color, key));
}

// n >= 8. Four vectors (32 pixels) a turn. A turn that is all key leaves the
// target alone, so the see-through parts of a big sprite cost no traffic on
// the target; the sprite itself is read whole every time, so nothing about
// it needs remembering and every change to it shows. Four a turn measured
// faster than one at sprite widths, where the loop's own steps count.
__attribute__((target("avx2"))) void KeyedRowAvx2(std::uint32_t* d, const std::uint32_t* s, int n,
                                                  __m256i key) {
  int i = 0;
  const __m256i colorBits = _mm256_set1_epi32(int(kColorBits));
  for (; i + 32 <= n; i += 32) {
    const __m256i c0 = _mm256_and_si256(LoadAvx2(s + i), colorBits);
    const __m256i c1 = _mm256_and_si256(LoadAvx2(s + i + 8), colorBits);
    const __m256i c2 = _mm256_and_si256(LoadAvx2(s + i + 16), colorBits);
    const __m256i c3 = _mm256_and_si256(LoadAvx2(s + i + 24), colorBits);
    const __m256i k0 = _mm256_cmpeq_epi32(c0, key), k1 = _mm256_cmpeq_epi32(c1, key);
    const __m256i k2 = _mm256_cmpeq_epi32(c2, key), k3 = _mm256_cmpeq_epi32(c3, key);
    const __m256i all = _mm256_and_si256(_mm256_and_si256(k0, k1), _mm256_and_si256(k2, k3));
    if (_mm256_testc_si256(all, _mm256_set1_epi32(-1))) continue;
    StoreAvx2(d + i, _mm256_blendv_epi8(c0, LoadAvx2(d + i), k0));
    StoreAvx2(d + i + 8, _mm256_blendv_epi8(c1, LoadAvx2(d + i + 8), k1));
    StoreAvx2(d + i + 16, _mm256_blendv_epi8(c2, LoadAvx2(d + i + 16), k2));
    StoreAvx2(d + i + 24, _mm256_blendv_epi8(c3, LoadAvx2(d + i + 24), k3));
  }
  for (; i + 8 <= n; i += 8) StoreAvx2(d + i, KeyedAvx2(LoadAvx2(s + i), LoadAvx2(d + i), key));
  if (i < n) StoreAvx2(d + n - 8, KeyedAvx2(LoadAvx2(s + n - 8), LoadAvx2(d + n - 8), key));
}

// n >= 32; four vectors a turn as above.
__attribute__((target("avx2"))) void CopyRowAvx2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
  std::size_t i = 0;
  for (; i + 128 <= n; i += 128) {
    const __m256i v0 = LoadAvx2(s + i), v1 = LoadAvx2(s + i + 32);
    const __m256i v2 = LoadAvx2(s + i + 64), v3 = LoadAvx2(s + i + 96);
    StoreAvx2(d + i, v0);
    StoreAvx2(d + i + 32, v1);
    StoreAvx2(d + i + 64, v2);
    StoreAvx2(d + i + 96, v3);
  }
  for (; i + 32 <= n; i += 32) StoreAvx2(d + i, LoadAvx2(s + i));
  if (i < n) StoreAvx2(d + n - 32, LoadAvx2(s + n - 32));
}

// The row loops below are whole functions of their path, so that the row
// functions inline into them.

void KeyedRowsSse2(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
                   std::ptrdiff_t sourcePitch, int width, int height, std::uint32_t key) {
  const __m128i keys = _mm_set1_epi32(int(key));
  for (int row = 0; row < height; ++row, target += targetPitch, source += sourcePitch) {
    KeyedRowSse2(reinterpret_cast<std::uint32_t*>(target), reinterpret_cast<const std::uint32_t*>(source),
                 width, keys);
  }
}

__attribute__((target("avx2"))) void KeyedRowsAvx2(std::uint8_t* target, std::ptrdiff_t targetPitch,
                                                   const std::uint8_t* source, std::ptrdiff_t sourcePitch,
                                                   int width, int height, std::uint32_t key) {
  const __m256i keys = _mm256_set1_epi32(int(key));
  for (int row = 0; row < height; ++row, target += targetPitch, source += sourcePitch) {
    KeyedRowAvx2(reinterpret_cast<std::uint32_t*>(target), reinterpret_cast<const std::uint32_t*>(source),
                 width, keys);
  }
}

__attribute__((target("avx2"))) void CopyRowsAvx2(std::uint8_t* target, std::ptrdiff_t targetPitch,
                                                  const std::uint8_t* source, std::ptrdiff_t sourcePitch,
                                                  std::size_t rowBytes, int height) {
  for (int row = 0; row < height; ++row, target += targetPitch, source += sourcePitch)
    CopyRowAvx2(target, source, rowBytes);
}
#endif

}  // namespace

void CopyKeyedRows32(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
                     std::ptrdiff_t sourcePitch, int width, int height, std::uint32_t key) {
#if defined(__x86_64__)
  const VectorPath path = ActiveVectorPath();
  if (path == VectorPath::Avx2 && width >= 8)
    return KeyedRowsAvx2(target, targetPitch, source, sourcePitch, width, height, key);
  if (path != VectorPath::Portable && width >= 4)
    return KeyedRowsSse2(target, targetPitch, source, sourcePitch, width, height, key);
#endif
  for (int row = 0; row < height; ++row, target += targetPitch, source += sourcePitch) {
    KeyedRowPortable(reinterpret_cast<std::uint32_t*>(target), reinterpret_cast<const std::uint32_t*>(source),
                     width, key);
  }
}

void CopyRows(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
              std::ptrdiff_t sourcePitch, std::size_t rowBytes, int height) {
  // Whole unpadded rows on both sides make one block.
  if (std::ptrdiff_t(rowBytes) == targetPitch && std::ptrdiff_t(rowBytes) == sourcePitch) {
    std::memcpy(target, source, rowBytes * std::size_t(height));
    return;
  }
#if defined(__x86_64__)
  if (ActiveVectorPath() == VectorPath::Avx2 && rowBytes >= 32 && rowBytes <= kShortRowBytes)
    return CopyRowsAvx2(target, targetPitch, source, sourcePitch, rowBytes, height);
#endif
  CopyRowsPortable(target, targetPitch, source, sourcePitch, rowBytes, height);
}

}  // namespace rt
