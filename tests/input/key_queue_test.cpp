#include "input/key_queue.h"

#include <gtest/gtest.h>

#include "gfx/screen_state.h"
#include "input/keyboard.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

class KeyQueueTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen();
  }
};

TEST_F(KeyQueueTest, HoldsTheLast15CodesOf20) {
  for (int i = 1; i <= 20; ++i) PostKey('a' + i);
  std::string taken;
  while (KeyHit()) taken += Inkey();
  ASSERT_EQ(taken.size(), 15u);
  EXPECT_EQ(taken.front(), 'a' + 6);
  EXPECT_EQ(taken.back(), 'a' + 20);
}

TEST_F(KeyQueueTest, ExtendedCodesReadAsByte255AndTheHighByte) {
  PostKey(0x4BFF);
  PostKey(kKeyClose);
  PostKey(129);
  EXPECT_EQ(Inkey(), std::string("\xFF\x4B", 2));
  EXPECT_EQ(Inkey(), std::string("\xFFk", 2));
  EXPECT_EQ(Inkey(), std::string("\x81", 1));
}

TEST_F(KeyQueueTest, PostedFlagIsClearedByInkeyEvenWhenEmpty) {
  PostKey('x');
  EXPECT_TRUE(TakeKeyPosted());
  EXPECT_FALSE(TakeKeyPosted());
  EXPECT_TRUE(KeyHit());  // the flag is consumed, the key stays
  PostKey('y');
  EXPECT_EQ(Inkey(), "x");
  EXPECT_FALSE(TakeKeyPosted());
  EXPECT_EQ(Inkey(), "y");
  EXPECT_EQ(Inkey(), "");
}

TEST_F(KeyQueueTest, ZeroCodeReadsAsNoKey) {
  PostKey(0);
  EXPECT_TRUE(KeyHit());
  EXPECT_EQ(Inkey(), "");
  EXPECT_FALSE(KeyHit());
}

TEST_F(KeyQueueTest, MultikeyReadsTheKeyStateAndRejectsOutOfRange) {
  Screen()->keyState[75] = 1;
  EXPECT_EQ(Multikey(75), -1);
  EXPECT_EQ(Multikey(77), 0);
  EXPECT_EQ(Multikey(128), 0);
  EXPECT_EQ(Multikey(-1), 0);
  ScreenClose();
  EXPECT_EQ(Multikey(75), 0);
  EXPECT_EQ(Inkey(), "");
  EXPECT_FALSE(KeyHit());
}

}  // namespace
}  // namespace rt
