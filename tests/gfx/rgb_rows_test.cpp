#include "gfx/rgb_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "vector_paths.h"

namespace rt {
namespace {

using test::PathName;
using test::PinnedPath;
using test::RunnablePaths;

constexpr std::uint32_t kGuard = 0xDEADBEEFu;

TEST(BgrToArgbRow, GivesEveryPixelOpaqueOnEveryPathAtAnyWidth) {
  for (VectorPath path : RunnablePaths()) {
    SCOPED_TRACE(PathName(path));
    PinnedPath pinned(path);
    for (int pixels : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 17, 18, 25, 31, 33, 640}) {
      // Exactly the row's bytes, so that a read past them is a fault the
      // address sanitizer reports.
      std::vector<std::uint8_t> bgr(std::size_t(pixels) * 3);
      for (std::size_t i = 0; i < bgr.size(); ++i) bgr[i] = std::uint8_t(i * 7 + 1);
      std::vector<std::uint32_t> argb(std::size_t(pixels) + 1, kGuard);
      BgrToArgbRow(bgr.data(), argb.data(), pixels);
      for (int x = 0; x < pixels; ++x) {
        const std::uint32_t want = 0xFF000000u | std::uint32_t(bgr[3 * x + 2]) << 16 |
                                   std::uint32_t(bgr[3 * x + 1]) << 8 | bgr[3 * x];
        ASSERT_EQ(argb[x], want) << "pixel " << x << " of " << pixels;
      }
      EXPECT_EQ(argb[pixels], kGuard) << pixels;
    }
  }
}

}  // namespace
}  // namespace rt
