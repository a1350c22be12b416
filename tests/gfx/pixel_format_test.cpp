#include "gfx/pixel_format.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(PixelFormat, EveryFiveSixFivePixelSurvivesTheWayToEightBitChannelsAndBack) {
  for (std::uint32_t p = 0; p <= 0xFFFF; ++p) {
    const std::uint32_t argb = ArgbFromRgb565(std::uint16_t(p));
    ASSERT_EQ(argb >> 24, 0xFFu) << p;
    ASSERT_EQ(Rgb565FromRgb(argb), p) << p;
  }
}

TEST(PixelFormat, WideningRepeatsTheTopBitsSoFullChannelsReach255) {
  struct Case {
    std::uint16_t pixel;
    std::uint32_t argb;
  };
  for (const Case& c : {Case{0x0000, 0xFF000000}, Case{0xF800, 0xFFFF0000}, Case{0x07E0, 0xFF00FF00},
                        Case{0x001F, 0xFF0000FF}, Case{0x8410, 0xFF848284}, Case{0x0821, 0xFF080408}}) {
    EXPECT_EQ(ArgbFromRgb565(c.pixel), c.argb) << std::hex << c.pixel;
  }
}

TEST(PixelFormat, PaletteOrderSwapsRedAndBlueAndDropsTheTopByte) {
  EXPECT_EQ(SwapRedBlue(0x00123456), 0x00563412u);
  EXPECT_EQ(SwapRedBlue(0xFF123456), 0x00563412u);
  EXPECT_EQ(SwapRedBlue(SwapRedBlue(0x00ABCDEF)), 0x00ABCDEFu);
}

}  // namespace
}  // namespace rt
