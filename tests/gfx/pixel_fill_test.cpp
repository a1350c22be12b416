#include "gfx/pixel_fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace rt {
namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEFu;
constexpr std::uint32_t kColor = 0x80123456u;

// Fills `count` pixels starting `start` pixels into a guarded buffer and
// answers whether exactly those pixels took the color.
::testing::AssertionResult FillsExactly(std::size_t start, std::size_t count) {
  std::vector<std::uint32_t> buffer(start + count + 64, kGuard);
  FillPixels(reinterpret_cast<std::uint8_t*>(buffer.data() + start), count, 4, kColor);
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    const bool inside = i >= start && i < start + count;
    if (buffer[i] != (inside ? kColor : kGuard)) {
      return ::testing::AssertionFailure()
             << "pixel " << i << " of a fill from " << start << " for " << count;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(FillPixels, CoversEveryPixelFromAnyStartAndNotOneMore) {
  // Every start within a 64-byte line, with counts around the 16-pixel steps.
  for (std::size_t start = 0; start < 17; ++start)
    for (std::size_t count : {0, 1, 15, 31, 32, 33, 47, 48, 49, 640, 640 * 480 + 7})
      EXPECT_TRUE(FillsExactly(start, count));
}

}  // namespace
}  // namespace rt
