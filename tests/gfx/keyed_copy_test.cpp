#include "gfx/keyed_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace rt {
namespace {

constexpr std::uint32_t kKey = 0xFF00FF;
constexpr std::uint32_t kGuard = 0xDEADBEEFu;

// Every third source pixel is the key (with varying alpha), the others carry
// their index and an alpha byte the copy must drop.
std::vector<std::uint32_t> Source(int count) {
  std::vector<std::uint32_t> source(count);
  for (int i = 0; i < count; ++i) source[i] = i % 3 == 1 ? (std::uint32_t(i) << 24 | kKey) : (0x7F000000u | i);
  return source;
}

// Copies `count` pixels `start` pixels into a guarded row and answers whether
// exactly the unkeyed ones changed, each to its colour without alpha.
::testing::AssertionResult CopiesExactly(int start, int count) {
  const std::vector<std::uint32_t> source = Source(count);
  std::vector<std::uint32_t> row(start + count + 16, kGuard);
  CopyKeyedRow32(row.data() + start, source.data(), count, kKey);
  for (int i = 0; i < int(row.size()); ++i) {
    const int at = i - start;
    const bool written = at >= 0 && at < count && at % 3 != 1;
    const std::uint32_t want = written ? std::uint32_t(at) : kGuard;
    if (row[i] != want) {
      return ::testing::AssertionFailure() << "pixel " << i << " of a copy from " << start << " for " << count
                                           << ": " << std::hex << row[i];
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(CopyKeyedRow32, WritesEveryUnkeyedPixelOfAnyWidthAndNothingElse) {
  // Widths around each vector step, so every tail and overlapping last block runs.
  for (int start = 0; start < 9; ++start)
    for (int count = 0; count <= 41; ++count) EXPECT_TRUE(CopiesExactly(start, count));
  EXPECT_TRUE(CopiesExactly(3, 640));
}

}  // namespace
}  // namespace rt
