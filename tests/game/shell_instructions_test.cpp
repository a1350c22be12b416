#include <gtest/gtest.h>

#include "game/scancodes.h"
#include "game/shell/shell_texts.h"
#include "input/keyboard.h"
#include "support/scenario.h"

namespace game::test {
namespace {

namespace st = shell_text;

constexpr int kF1Code = 0x3BFF;

class InstructionsTest : public ::testing::Test, protected Scenario {
 protected:
  // Opens the page from the menu; `pressed` also queues F1's key code, as a
  // real key press does, which the menu leaves pending.
  void OpenPage(bool pressed) {
    When([this] { return InMenu(); },
         [this, pressed] {
           Driver().HoldKey(scancode::kF1, true);
           if (pressed) Driver().Type(kF1Code);
         });
    When([] { return TitleIs(st::kInstructionsTitle); },
         [this] {
           Driver().ReleaseAllKeys();
           openedAtMs_ = NowMs();
         });
  }
  // Types a key once the page has stood for `afterMs`.
  void TypeAfter(long long afterMs) {
    When([this, afterMs] { return NowMs() >= openedAtMs_ + afterMs; }, [this] { Driver().Type(' '); });
  }
  void QuitWhenMenuIsBack() {
    When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kEsc, true); });
  }
  long long openedAtMs_ = 0;
};

TEST_F(InstructionsTest, DrawsTheNineteenLinesOverTheNightPicture) {
  std::vector<bool> shown;
  OpenPage(true);
  When([] { return true; },
       [&] {
         for (const auto& line : st::kInstructionLines)
           shown.push_back(TextAt(1, line.y, line.text, 0xFFFFFF));
       });
  TypeAfter(2000);
  QuitWhenMenuIsBack();
  RunProgram();

  EXPECT_EQ(shown, std::vector<bool>(19, true));
}

TEST_F(InstructionsTest, KeepsTheTrailingAndDoubleSpacesOfItsLines) {
  EXPECT_EQ(st::kInstructionLines[2].text, "Sammle die Herzen um ein Leben zu erhalten. ");
  EXPECT_EQ(st::kInstructionLines[10].text.substr(56), "wird dir  ein Leben ");
  EXPECT_EQ(st::kInstructionLines[14].text.size(), 80u);
  EXPECT_EQ(st::kInstructionLines[6].text.substr(23, 6), "F\x84nger");  // code page 437
}

TEST_F(InstructionsTest, OneKeyLeavesWhenTheF1PressIsStillPending) {
  OpenPage(true);
  TypeAfter(2000);
  QuitWhenMenuIsBack();
  RunProgram();

  EXPECT_TRUE(ScriptDone());
}

TEST_F(InstructionsTest, TheFirstKeyOnlyEndsTheFirstWaitWhenNoPressWasPending) {
  std::string titleAfterFirstKey;
  OpenPage(false);
  TypeAfter(2000);
  When([this] { return NowMs() >= openedAtMs_ + 5000; },
       [&] {
         titleAfterFirstKey = std::string(rt::CurrentWindowTitle());
         Driver().Type(' ');
       });
  QuitWhenMenuIsBack();
  RunProgram();

  EXPECT_EQ(titleAfterFirstKey, st::kInstructionsTitle);
  EXPECT_TRUE(ScriptDone());
}

}  // namespace
}  // namespace game::test
