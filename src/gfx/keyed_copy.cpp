#include "gfx/keyed_copy.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MORVANTA_X86 1
#endif

namespace rt {

namespace {

constexpr std::uint32_t kColorBits = 0x00FFFFFF;

void CopyKeyedScalar(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i) {
    const std::uint32_t color = s[i] & kColorBits;
    if (color != key) d[i] = color;
  }
}

#if MORVANTA_X86
// Copying a block twice gives the same pixels as copying it once, so a row's
// last block may overlap the one before instead of ending in a scalar tail.

void KeyBlockSse2(std::uint32_t* d, const std::uint32_t* s, std::uint32_t key) {
  const __m128i color =
      _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), _mm_set1_epi32(int(kColorBits)));
  const __m128i keep = _mm_cmpeq_epi32(color, _mm_set1_epi32(int(key)));
  const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                   _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, color)));
}

void CopyKeyedSse2(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  if (n < 4) return CopyKeyedScalar(d, s, n, key);
  for (int i = 0; i + 4 <= n; i += 4) KeyBlockSse2(d + i, s + i, key);
  if (n % 4) KeyBlockSse2(d + n - 4, s + n - 4, key);
}

__attribute__((target("avx2"))) void KeyBlockAvx2(std::uint32_t* d, const std::uint32_t* s,
                                                  std::uint32_t key) {
  const __m256i color = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s)),
                                         _mm256_set1_epi32(int(kColorBits)));
  const __m256i keep = _mm256_cmpeq_epi32(color, _mm256_set1_epi32(int(key)));
  const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(color, old, keep));
}

__attribute__((target("avx2"))) void CopyKeyedAvx2(std::uint32_t* d, const std::uint32_t* s, int n,
                                                   std::uint32_t key) {
  if (n < 8) return CopyKeyedSse2(d, s, n, key);
  for (int i = 0; i + 8 <= n; i += 8) KeyBlockAvx2(d + i, s + i, key);
  if (n % 8) KeyBlockAvx2(d + n - 8, s + n - 8, key);
}

using CopyKeyedRow = void (*)(std::uint32_t*, const std::uint32_t*, int, std::uint32_t);

CopyKeyedRow ChooseCopyKeyed() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? CopyKeyedAvx2 : CopyKeyedSse2;
}
#endif

}  // namespace

void CopyKeyedRow32(std::uint32_t* target, const std::uint32_t* source, int count, std::uint32_t key) {
#if MORVANTA_X86
  static const CopyKeyedRow copy = ChooseCopyKeyed();
  copy(target, source, count, key);
#else
  CopyKeyedScalar(target, source, count, key);
#endif
}

}  // namespace rt
