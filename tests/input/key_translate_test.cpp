#include "input/key_translate.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/screen.h"
#include "input/key_queue.h"
#include "support/runtime_fixture.h"
#include "support/scripted_driver.h"

namespace rt {
namespace {

TEST(TranslateKey, ExtendedNavigationKeysGiveTheirCodesInEveryColumn) {
  EXPECT_EQ(TranslateKey(0, 72, 0, kModExtended), 0x48FF);
  EXPECT_EQ(TranslateKey(0, 75, 0, kModExtended), 0x4BFF);
  EXPECT_EQ(TranslateKey(0, 77, 0, kModExtended), 0x4DFF);
  EXPECT_EQ(TranslateKey(0, 80, 0, kModExtended), 0x50FF);
  EXPECT_EQ(TranslateKey(0, 71, 0, kModExtended), 0x47FF);
  EXPECT_EQ(TranslateKey(0, 79, 0, kModExtended), 0x4FFF);
  EXPECT_EQ(TranslateKey(0, 83, 0, kModExtended), 0x53FF);
  EXPECT_EQ(TranslateKey(0, 75, 0, kModExtended | kModShift), 0x4BFF);
  EXPECT_EQ(TranslateKey(0, 75, 0, kModExtended | kModLeftCtrl), 0x73FF);
  EXPECT_EQ(TranslateKey(0, 75, 0, kModExtended | kModRightAlt | kModRightCtrl), 0x9BFF);  // Alt wins
}

TEST(TranslateKey, ExtendedEntriesUpTo255AreCharacters) {
  EXPECT_EQ(TranslateKey(0, 53, 0, kModExtended), '/');
  EXPECT_EQ(TranslateKey(0, 53, 0, kModExtended | kModShift), '?');
  EXPECT_EQ(TranslateKey(0, 53, 0, kModExtended | kModRightCtrl), 0x95FF);
  EXPECT_EQ(TranslateKey(0, 28, 0, kModExtended | kModLeftCtrl), 10);
  EXPECT_EQ(TranslateKey(0, 29, 0, kModExtended), -1);  // right Ctrl has no row
}

TEST(TranslateKey, FunctionKeysFollowTheMainTable) {
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(TranslateKey(0, 59 + i, 0, 0), ((0x3B + i) << 8) | 0xFF) << "F" << i + 1;
    EXPECT_EQ(TranslateKey(0, 59 + i, 0, kModShift), ((0x54 + i) << 8) | 0xFF);
    EXPECT_EQ(TranslateKey(0, 59 + i, 0, kModLeftCtrl), ((0x5E + i) << 8) | 0xFF);
    EXPECT_EQ(TranslateKey(0, 59 + i, 0, kModRightAlt), ((0x68 + i) << 8) | 0xFF);
  }
  EXPECT_EQ(TranslateKey(0, 87, 0, 0), 0x85FF);
  EXPECT_EQ(TranslateKey(0, 88, 0, kModRightAlt), 0x8CFF);
}

TEST(TranslateKey, CharactersPassUnlessTheKeysOwnCharacterMeetsAnEntry) {
  EXPECT_EQ(TranslateKey('a', 30, 'a', 0), 'a');
  EXPECT_EQ(TranslateKey('A', 30, 'a', kModShift), 'A');  // no Shift entry
  EXPECT_EQ(TranslateKey('q', 16, 'q', kModRightAlt), 0x10FF);
  EXPECT_EQ(TranslateKey('Q', 16, 'q', kModRightAlt), 0x10FF);              // case swapped
  EXPECT_EQ(TranslateKey('@', 16, 'q', kModRightAlt | kModLeftCtrl), '@');  // typed with AltGr
  EXPECT_EQ(TranslateKey(0, 16, 'q', kModRightAlt), -1);
  EXPECT_EQ(TranslateKey(9, 15, 9, kModShift), 0x0FFF);
  EXPECT_EQ(TranslateKey(9, 15, 9, kModLeftCtrl), 0x94FF);
  EXPECT_EQ(TranslateKey(0, 58, 0, 0), -1);  // Caps Lock: no entry, no character
}

TEST(TranslateKey, ScancodesPastTheMainTableGiveOnlyTheCharacter) {
  EXPECT_EQ(TranslateKey('x', 89, 'x', kModRightAlt), 'x');
  EXPECT_EQ(TranslateKey(0, 91, 0, 0), -1);
}

class TypedTextTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen(test::ScriptedDriver::Entry());
  }
};

TEST_F(TypedTextTest, BecomesCodePage437WithZeroForMissingCharacters) {
  ScreenLock();
  PostTypedText(
      "\xC3\xBC\xC3\x9F"
      "a\xE2\x82\xAC");  // ü ß a €
  std::vector<int> codes;
  while (TheKeyQueue().HasKey()) codes.push_back(TheKeyQueue().Take());
  ScreenUnlock(1, 0);
  EXPECT_EQ(codes, (std::vector<int>{129, 225, 'a', 0}));
}

}  // namespace
}  // namespace rt
