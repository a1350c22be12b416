#include "support/scripted_driver.h"

#include <gtest/gtest.h>

#include "gfx/screen_state.h"
#include "input/keyboard.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

using test::ScriptedDriver;

class ScriptedDriverTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    WindowTitle("Start");
    OpenGameScreen(ScriptedDriver::Entry());
    driver = ScriptedDriver::Current();
    ASSERT_NE(driver, nullptr);
  }
  ScriptedDriver* driver = nullptr;
};

TEST_F(ScriptedDriverTest, HeldKeysReadThroughMultikeyUntilFocusIsLost) {
  driver->HoldKey(75, true);
  EXPECT_EQ(Multikey(75), -1);
  EXPECT_EQ(Multikey(77), 0);
  driver->SetFocus(false);
  EXPECT_EQ(Multikey(75), 0);
  driver->HoldKey(77, true);  // no refresh while inactive
  EXPECT_EQ(Multikey(77), 0);
  driver->SetFocus(true);
  EXPECT_EQ(Multikey(75), -1);
  driver->ReleaseAllKeys();
  EXPECT_EQ(Multikey(75), 0);
}

TEST_F(ScriptedDriverTest, TypedKeysAndTheCloseButtonQueueCodes) {
  driver->Type('a', 3);
  driver->CloseButton();
  EXPECT_EQ(Inkey(), "a");
  EXPECT_EQ(Inkey(), "a");
  EXPECT_EQ(Inkey(), "a");
  EXPECT_EQ(Inkey(), std::string("\xFFk", 2));
  EXPECT_EQ(Inkey(), "");
}

TEST_F(ScriptedDriverTest, RecordsTitlesBeepsAndIsGoneAfterClose) {
  WindowTitle("Men\x81");
  ScreenLock();
  Screen()->driver->Beep();
  ScreenUnlock(1, 0);
  ASSERT_EQ(driver->Titles().size(), 2u);
  EXPECT_EQ(driver->Titles()[0], "Start");
  EXPECT_EQ(driver->Titles()[1], "Men\x81");
  EXPECT_EQ(driver->Beeps(), 1);
  ScreenClose();
  EXPECT_EQ(ScriptedDriver::Current(), nullptr);
}

}  // namespace
}  // namespace rt
