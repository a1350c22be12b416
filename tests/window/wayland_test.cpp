// The window on a native Wayland compositor, where a program cannot place or
// warp the pointer and windows are not X windows: what can be seen from the
// program itself.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "rt/result.h"
#include "window/x_display.h"

namespace rt {
namespace {

using test::WaitFor;

bool WindowActive() {
  ScreenLock();
  const bool active = TheMouse().windowActive;
  ScreenUnlock(1, 0);
  return active;
}

class WaylandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("SDL_VIDEODRIVER"), "wayland");
    SetDriverList({});
    TheKeyQueue().Clear();
    ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
    ASSERT_EQ(Screen()->driver->Name(), "SDL");
    ASSERT_TRUE(WaitFor(WindowActive)) << "the compositor should give the new window the focus";
  }
  void TearDown() override {
    ScreenClose();
    TheKeyQueue().Clear();
  }
};

TEST_F(WaylandTest, SetMouseReportsThePositionWhereWarpingIsImpossible) {
  ASSERT_EQ(SetMouse(1, 1, 0, -1), ResultOk);
  int x = -5, y = -5;
  EXPECT_EQ(GetMouse(&x, &y), ResultOk);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 1);
  ASSERT_EQ(SetMouse(320, 400, -1, -1), ResultOk);
  EXPECT_EQ(GetMouse(&x, &y), ResultOk);
  EXPECT_EQ(x, 320);
}

TEST_F(WaylandTest, KeysTypedIntoTheCompositorArrive) {
  test::Shell("xdotool mousemove 640 512 key F1 x 2>&1");
  ASSERT_TRUE(WaitFor([] { return KeyHit(); }));
  EXPECT_EQ(Inkey(), std::string("\xFF\x3B", 2));
  ASSERT_TRUE(WaitFor([] { return KeyHit(); }));
  EXPECT_EQ(Inkey(), "x");
}

TEST_F(WaylandTest, DrawingUnderTheLockIsPresentedWithoutHarm) {
  for (int frame = 0; frame < 20; ++frame) {
    ScreenLock();
    Surface s = ScreenSurface();
    for (int y = 0; y < s.height; ++y) reinterpret_cast<std::uint32_t*>(s.Row(y))[frame] = 0xFFFF0000u;
    ScreenUnlock(0, s.height - 1);
  }
  EXPECT_TRUE(WaitFor([] {
    ScreenLock();
    bool clean = true;
    for (std::uint8_t d : Screen()->dirtyLines) clean = clean && d == 0;
    ScreenUnlock(1, 0);
    return clean;
  })) << "the display thread should present and clear the dirty rows";
}

}  // namespace
}  // namespace rt
