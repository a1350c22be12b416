#include "gfx/pixel_fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace rt {
namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEFu;
constexpr std::uint32_t kColour = 0x80123456u;

// Fills `count` pixels starting `start` pixels into a guarded buffer and
// answers whether exactly those pixels took the colour.
::testing::AssertionResult FillsExactly(std::size_t start, std::size_t count) {
  std::vector<std::uint32_t> buffer(start + count + 64, kGuard);
  FillPixels32(buffer.data() + start, count, kColour);
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    const bool inside = i >= start && i < start + count;
    if (buffer[i] != (inside ? kColour : kGuard)) {
      return ::testing::AssertionFailure()
             << "pixel " << i << " of a fill from " << start << " for " << count;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(FillPixels32, StreamedFillsCoverEveryPixelFromAnyStartAndNotOneMore) {
  const std::size_t streamed = kStreamingFillBytes / 4;
  // Every 16-byte misalignment, with counts around a whole number of blocks.
  for (std::size_t start = 0; start < 6; ++start)
    for (std::size_t count : {streamed, streamed + 1, streamed + 15, streamed + 17, std::size_t(640 * 480)})
      EXPECT_TRUE(FillsExactly(start, count));
}

TEST(FillPixels32, SmallFillsAndEmptyFillsStayInPlace) {
  for (std::size_t count :
       {std::size_t(0), std::size_t(1), std::size_t(7), std::size_t(640), kStreamingFillBytes / 4 - 1})
    EXPECT_TRUE(FillsExactly(3, count));
}

}  // namespace
}  // namespace rt
