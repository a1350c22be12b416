#include "gfx/rgb_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/bmp_pixels.h"
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

// Every 16-bit value, in a row long enough for every loop and a tail, gives
// each channel scaled by bit replication as any other masked file does.
TEST(Rgb16ToArgbRow, WidensEveryValueOnEveryPath) {
  struct Form {
    const char* name;
    void (*convert)(const std::uint8_t*, std::uint32_t*, int);
    int redBits, greenBits;  // blue has 5
  };
  const Form forms[] = {{"5-5-5", Rgb555ToArgbRow, 5, 5}, {"5-6-5", Rgb565ToArgbRow, 5, 6}};
  constexpr int kValues = 1 << 16;
  constexpr int kPixels = kValues + 3;
  std::vector<std::uint8_t> rgb16(2 * kPixels);
  for (int i = 0; i < kPixels; ++i) {
    rgb16[2 * i] = std::uint8_t(i);
    rgb16[2 * i + 1] = std::uint8_t(i >> 8);
  }
  for (const Form& form : forms) {
    SCOPED_TRACE(form.name);
    for (VectorPath path : RunnablePaths()) {
      SCOPED_TRACE(PathName(path));
      PinnedPath pinned(path);
      std::vector<std::uint32_t> argb(kPixels + 1, kGuard);
      form.convert(rgb16.data(), argb.data(), kPixels);
      for (int i = 0; i < kPixels; ++i) {
        const std::uint32_t v = i % kValues;
        const int blueBits = 5, greenShift = blueBits, redShift = blueBits + form.greenBits;
        const std::uint32_t want =
            0xFF000000u | ScaleChannel((v >> redShift) & ((1u << form.redBits) - 1), form.redBits, 8) << 16 |
            ScaleChannel((v >> greenShift) & ((1u << form.greenBits) - 1), form.greenBits, 8) << 8 |
            ScaleChannel(v & 31, blueBits, 8);
        ASSERT_EQ(argb[i], want) << "pixel " << i;
      }
      EXPECT_EQ(argb[kPixels], kGuard);
    }
  }
}

}  // namespace
}  // namespace rt
