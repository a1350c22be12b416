#include "input/mouse.h"

#include <gtest/gtest.h>

#include "gfx/screen.h"
#include "input/mouse_state.h"
#include "rt/result.h"
#include "support/runtime_fixture.h"
#include "support/scripted_driver.h"

namespace rt {
namespace {

using test::ScriptedDriver;

class MouseTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen(ScriptedDriver::Entry());
    driver = ScriptedDriver::Current();
    ASSERT_NE(driver, nullptr);
  }

  struct Reading {
    int result, x, y, wheel, buttons, clipped;
  };
  static Reading Read() {
    Reading r{};
    r.result = GetMouse(&r.x, &r.y, &r.wheel, &r.buttons, &r.clipped);
    return r;
  }

  ScriptedDriver* driver = nullptr;
};

TEST_F(MouseTest, ReportsPositionButtonsAndWheelOfTheWindow) {
  driver->MovePointer(123, 456);
  driver->PressButtons(kButtonLeft | kButtonRight);
  driver->TurnWheel(2);
  Reading r = Read();
  EXPECT_EQ(r.result, ResultOk);
  EXPECT_EQ(LastResult(), ResultOk);
  EXPECT_EQ(r.x, 123);
  EXPECT_EQ(r.y, 456);
  EXPECT_EQ(r.buttons, 3);
  EXPECT_EQ(r.wheel, 2);
  EXPECT_EQ(r.clipped, 0);

  driver->ReleaseButtons(kButtonLeft);
  EXPECT_EQ(Read().buttons, kButtonRight);
}

TEST_F(MouseTest, OptionalOutputsMayBeAbsent) {
  driver->MovePointer(7, 9);
  int x = 0, y = 0;
  EXPECT_EQ(GetMouse(&x, &y), ResultOk);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 9);
}

TEST_F(MouseTest, FailsWithMinusOneEverywhereWhileThePointerIsOutside) {
  driver->MovePointer(10, 10);
  driver->PressButtons(kButtonLeft);
  driver->MovePointerOutside();
  Reading r = Read();
  EXPECT_EQ(r.result, ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  for (int v : {r.x, r.y, r.wheel, r.buttons, r.clipped}) EXPECT_EQ(v, -1);

  // Back inside with the button still held: the drag goes on.
  driver->MovePointer(20, 10);
  EXPECT_EQ(Read().buttons, kButtonLeft);
}

TEST_F(MouseTest, FocusLossFailsQueriesAndClearsButtons) {
  driver->PressButtons(kButtonLeft | kButtonExtra2);
  driver->SetFocus(false);
  EXPECT_EQ(Read().result, ResultIllegalCall);
  driver->SetFocus(true);
  Reading r = Read();
  EXPECT_EQ(r.result, ResultOk);
  EXPECT_EQ(r.buttons, 0);
}

TEST_F(MouseTest, WheelCountsOneStepPerEventAndNeverResets) {
  driver->TurnWheel(-3);
  EXPECT_EQ(Read().wheel, -3);
  ScreenLock();
  for (int i = 0; i < 10; ++i) MouseWheelStep(0.1);  // a fine-grained wheel
  ScreenUnlock(1, 0);
  EXPECT_EQ(Read().wheel, 7);
}

TEST_F(MouseTest, SetMouseClampsHidesAndLeavesClippingAlone) {
  ASSERT_EQ(SetMouse(1, 1, -1, 1), ResultOk);
  ASSERT_EQ(SetMouse(1000, -5, 0, -1), ResultOk);
  Reading r = Read();
  EXPECT_EQ(r.x, 639);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.clipped, 1);
  ScreenLock();
  EXPECT_FALSE(TheMouse().pointerVisible);
  ScreenUnlock(1, 0);
  ASSERT_EQ(driver->Warps().size(), 2u);
  EXPECT_EQ(driver->Warps()[1].x, 639);
  EXPECT_EQ(driver->Warps()[1].y, 0);
}

TEST_F(MouseTest, SetMouseMovesThePointerBackInside) {
  driver->MovePointerOutside();
  SetMouse(300, 400, -1, -1);
  Reading r = Read();
  EXPECT_EQ(r.result, ResultOk);
  EXPECT_EQ(r.x, 300);
  EXPECT_EQ(r.y, 400);
}

TEST_F(MouseTest, KeepCurrentKeepsOneCoordinateOrTheWholePosition) {
  driver->MovePointer(50, 60);
  SetMouse(kKeepCurrent, 70);
  EXPECT_EQ(Read().x, 50);
  EXPECT_EQ(Read().y, 70);

  driver->MovePointerOutside();
  SetMouse(kKeepCurrent, kKeepCurrent, 0, 0);
  EXPECT_EQ(Read().result, ResultIllegalCall);  // not moved, so still outside
  EXPECT_EQ(driver->Warps().size(), 1u);
}

TEST(MouseWithoutScreen, FailsAndChangesNothing) {
  ScreenClose();
  int x = 5, y = 5, wheel = 5;
  EXPECT_EQ(GetMouse(&x, &y, &wheel), ResultIllegalCall);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(wheel, -1);
  EXPECT_EQ(SetMouse(10, 10), ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
}

}  // namespace
}  // namespace rt
