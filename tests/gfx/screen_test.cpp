#include <gtest/gtest.h>

#include <cstring>

#include "gfx/palettes.h"
#include "gfx/screen_state.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

// A back end that records how often the lock was taken and released.
class CountingDriver final : public DisplayDriver {
 public:
  static inline int locks = 0;
  static inline int unlocks = 0;
  static inline std::string lastTitle;
  std::string_view Name() const override { return "counting"; }
  int Init(ScreenState&, const char*, int, int, int, int, int) override { return 0; }
  void Exit() override {}
  void Lock() override { ++locks; }
  void Unlock() override { ++unlocks; }
  void SetPalette(int, int, int, int) override {}
  Result GetMouse(int*, int*, int*, int*, int*) override { return ResultIllegalCall; }
  Result SetMouse(int, int, int, int) override { return ResultOk; }
  void SetWindowTitle(const char* title) override { lastTitle = title; }
};

class ScreenTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    CountingDriver::locks = CountingDriver::unlocks = 0;
    SetDriverList(
        {DriverEntry{"counting", [] { return std::unique_ptr<DisplayDriver>(new CountingDriver); }}});
  }
  void TearDown() override {
    RuntimeTest::TearDown();
    SetDriverList({});
  }
  static bool AllDirty(int first, int last) {
    for (int y = first; y <= last; ++y)
      if (!Screen()->dirtyLines[y]) return false;
    return true;
  }
  static int DirtyCount() {
    int n = 0;
    for (auto d : Screen()->dirtyLines) n += d;
    return n;
  }
};

TEST_F(ScreenTest, GameModeOpensWithTheDocumentedFigures) {
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  const ScreenState& s = *Screen();
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 480);
  EXPECT_EQ(s.bytesPerPixel, 4);
  EXPECT_EQ(s.pitchBytes, 2560);
  ASSERT_EQ(s.pages.size(), 2u);
  EXPECT_EQ(s.textColumns, 80);
  EXPECT_EQ(s.textRows, 30);
  EXPECT_EQ(s.font, 2);
  EXPECT_EQ(CurrentContext().foreground, 0xFFFFFFFFu);
  EXPECT_EQ(CurrentContext().background, 0xFF000000u);
  for (const Page& page : s.pages) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(page.pixels) % 16, 0u);
    auto* px = reinterpret_cast<const std::uint32_t*>(page.pixels);
    for (int i : {0, 1, 640 * 480 / 2, 640 * 480 - 1}) EXPECT_EQ(px[i], 0xFF000000u) << i;
  }
}

TEST_F(ScreenTest, OmittedDepthAndPagesTakeTheTableDefaults) {
  ASSERT_EQ(ScreenMode(18, 0, 0, 0, 0), rt::ResultOk);
  EXPECT_EQ(Screen()->depth, 8);
  EXPECT_EQ(Screen()->bytesPerPixel, 1);
  EXPECT_EQ(Screen()->pages.size(), 1u);
  EXPECT_EQ(CurrentContext().foreground, 15u);
  EXPECT_EQ(CurrentContext().background, 0u);
  // The VGA palette is loaded at 8 bits: entry 1 is 0000AA, kept as 0x00BBGGRR.
  EXPECT_EQ(Screen()->palette[1], 0x00AA0000u);
}

TEST_F(ScreenTest, DepthsAreNormalised) {
  ASSERT_EQ(ScreenMode(18, 24, 1, 0, 0), rt::ResultOk);
  EXPECT_EQ(Screen()->depth, 32);
  EXPECT_EQ(Screen()->bytesPerPixel, 4);
  ASSERT_EQ(ScreenMode(18, 15, 1, 0, 0), rt::ResultOk);
  EXPECT_EQ(Screen()->depth, 16);
  EXPECT_EQ(Screen()->bytesPerPixel, 2);
  EXPECT_EQ(Screen()->colorMask, 0xFFFFu);
  EXPECT_EQ(CurrentContext().foreground, 0xFFFFu);
  // The caller's depth applies above mode 13 only.
  ASSERT_EQ(ScreenMode(13, 32, 0, 0, 0), rt::ResultOk);
  EXPECT_EQ(Screen()->depth, 8);
}

TEST_F(ScreenTest, ModesWithoutASizeFailAndKeepTheOpenScreen) {
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  const int id = Screen()->id;
  EXPECT_EQ(ScreenMode(22, 32, 2, 0, 0), rt::ResultIllegalCall);
  EXPECT_EQ(ScreenMode(5, 32, 2, 0, 0), rt::ResultIllegalCall);
  EXPECT_EQ(ScreenMode(-1, 32, 2, 0, 0), rt::ResultIllegalCall);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->id, id);
  EXPECT_EQ(ScreenMode(0, 0, 0, 0, 0), rt::ResultOk);
  EXPECT_EQ(Screen(), nullptr);
}

TEST_F(ScreenTest, NestedLocksReleaseTheBackEndOnlyAtTheOutermostUnlock) {
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  ScreenLock();
  ScreenLock();
  EXPECT_EQ(CountingDriver::locks, 1);
  ScreenUnlock(10, 12);
  EXPECT_EQ(CountingDriver::unlocks, 0);
  EXPECT_TRUE(AllDirty(10, 12));
  ScreenUnlock(1, 0);
  EXPECT_EQ(CountingDriver::unlocks, 1);
  EXPECT_EQ(DirtyCount(), 3);
}

TEST_F(ScreenTest, UnlockMarksWholeScreenOrNothing) {
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  ScreenLock();
  ScreenUnlock(1, 0);
  EXPECT_EQ(DirtyCount(), 0);
  ScreenLock();
  ScreenUnlock(-1, -1);
  EXPECT_EQ(DirtyCount(), 480);
}

TEST_F(ScreenTest, UnlockWithoutLockMarksRowsButReleasesNothing) {
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  const int unlocksBefore = CountingDriver::unlocks;
  const int locksBefore = CountingDriver::locks;
  ScreenUnlock(5, 5);
  EXPECT_TRUE(AllDirty(5, 5));
  EXPECT_EQ(Screen()->lockCount, 0);
  // Marking took and released the back end's lock once, balanced.
  EXPECT_EQ(CountingDriver::locks - locksBefore, CountingDriver::unlocks - unlocksBefore);
}

TEST_F(ScreenTest, TitleIsCutTo127BytesAndKeptForLaterOpens) {
  WindowTitle(std::string(200, 'x'));
  EXPECT_EQ(CurrentWindowTitle().size(), 127u);
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  WindowTitle("Men\xFC | Morvanta");
  EXPECT_EQ(CountingDriver::lastTitle, "Men\xFC | Morvanta");
  EXPECT_EQ(Screen()->lockCount, 0);
}

TEST_F(ScreenTest, NoBackEndMeansNoScreen) {
  SetDriverList({DriverEntry{"broken", [] { return std::unique_ptr<DisplayDriver>(); }}});
  EXPECT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultIllegalCall);
  EXPECT_EQ(Screen(), nullptr);
}

TEST(RoundCoordinate, RoundsHalfAwayFromZeroAndRejectsTheUnrepresentable) {
  int v = 0;
  ASSERT_TRUE(RoundCoordinate(-3.5, v));
  EXPECT_EQ(v, -4);
  ASSERT_TRUE(RoundCoordinate(2.5, v));
  EXPECT_EQ(v, 3);
  ASSERT_TRUE(RoundCoordinate(-0.4, v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(RoundCoordinate(1e12, v));
  EXPECT_FALSE(RoundCoordinate(-1e12, v));
  EXPECT_FALSE(RoundCoordinate(std::numeric_limits<double>::quiet_NaN(), v));
  EXPECT_FALSE(RoundCoordinate(std::numeric_limits<double>::infinity(), v));
}

TEST(RoundCoordinate, TakesWholeNumbersAsTheyAreUpToTheLimits) {
  int v = 7;
  for (double whole : {0.0, -0.0, 301.0, -17.0, 999999999.0, -999999999.0, 1e9, -1e9}) {
    ASSERT_TRUE(RoundCoordinate(whole, v)) << whole;
    EXPECT_EQ(v, int(whole)) << whole;
  }
  EXPECT_FALSE(RoundCoordinate(1e9 + 1, v));
  EXPECT_FALSE(RoundCoordinate(-1e9 - 1, v));
  ASSERT_TRUE(RoundCoordinate(999999999.5, v));
  EXPECT_EQ(v, 1000000000);
}

TEST(DefaultPalettes, HaveTheirSizesAndKnownEntries) {
  EXPECT_EQ(DefaultPalette(0).size(), 2u);
  EXPECT_EQ(DefaultPalette(1)[6], 0xAA5500u);
  ASSERT_EQ(DefaultPalette(2).size(), 64u);
  EXPECT_EQ(DefaultPalette(2)[0x3F], 0xFFFFFFu);
  EXPECT_EQ(DefaultPalette(2)[0x38 | 0x04], 0xFF5555u);
  auto vga = DefaultPalette(3);
  ASSERT_EQ(vga.size(), 256u);
  EXPECT_EQ(vga[31], 0xFFFFFFu);
  EXPECT_EQ(vga[32], 0x0000FFu);
  EXPECT_EQ(vga[40], 0xFF0000u);
  EXPECT_EQ(vga[48], 0x00FF00u);
  EXPECT_EQ(vga[255], 0u);
}

}  // namespace
}  // namespace rt
