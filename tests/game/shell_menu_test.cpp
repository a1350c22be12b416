#include <gtest/gtest.h>

#include "game/scancodes.h"
#include "game/shell_texts.h"
#include "game/texts.h"
#include "gfx/screen_state.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "shell_fixture.h"

namespace game::test {
namespace {

namespace st = shell_text;

std::string FirstLevelTitle() { return text::kPlayTitlePrefix + "1" + text::kTitleSuffix; }

bool MenuDrawn() { return TextAt(1, 1, st::kMenuLines[0].text, 0xFFFFFF); }

class MainMenuTest : public ShellTest {};

TEST_F(MainMenuTest, OpensTheScreenAfterASecondAndParksTheHiddenPointer) {
  bool screenOpenAtFirstSleep = true;
  long long menuDrawnAtMs = 0;
  When([] { return true; }, [&] { screenOpenAtFirstSleep = rt::Screen() != nullptr; });
  When([&] { return InMenu() && MenuDrawn(); },
       [&] {
         menuDrawnAtMs = NowMs();
         Driver().HoldKey(scancode::kEsc, true);
       });
  Run();

  EXPECT_FALSE(screenOpenAtFirstSleep);
  EXPECT_GE(menuDrawnAtMs, 2500);  // 1000 ms before the screen, 1500 of splash
  EXPECT_TRUE(ScriptDone());
}

TEST_F(MainMenuTest, StartUpHidesThePointerAtOneOne) {
  StartGame();
  ASSERT_FALSE(Driver().Warps().empty());
  EXPECT_EQ(Driver().Warps().back().x, 1);
  EXPECT_EQ(Driver().Warps().back().y, 1);
  EXPECT_FALSE(rt::TheMouse().pointerVisible);
  EXPECT_EQ(Driver().Titles().back(), st::kMenuTitle);
}

TEST_F(MainMenuTest, AKeyShortensTheSplash) {
  long long menuDrawnAtMs = 0;
  When([] { return rt::Screen() != nullptr; }, [&] { Driver().Type('x'); });
  When([&] { return InMenu() && MenuDrawn(); },
       [&] {
         menuDrawnAtMs = NowMs();
         Driver().HoldKey(scancode::kEsc, true);
       });
  Run();

  EXPECT_GT(menuDrawnAtMs, 1000);
  EXPECT_LT(menuDrawnAtMs, 1200);
}

TEST_F(MainMenuTest, DrawsItsSixLinesOverTheTitlePicture) {
  std::vector<bool> shown;
  When([&] { return InMenu() && MenuDrawn(); },
       [&] {
         for (const auto& line : st::kMenuLines) shown.push_back(TextAt(1, line.y, line.text, 0xFFFFFF));
         Driver().HoldKey(scancode::kEsc, true);
       });
  Run();

  EXPECT_EQ(shown, std::vector<bool>(6, true));
}

TEST_F(MainMenuTest, SpaceAndF1TogetherStartAGame) {
  When([&] { return InMenu(); },
       [&] {
         Driver().HoldKey(scancode::kSpace, true);
         Driver().HoldKey(scancode::kF1, true);
       });
  When([] { return TitleIs(FirstLevelTitle()); },
       [&] {
         Driver().ReleaseAllKeys();
         Driver().HoldKey(scancode::kEsc, true);  // back to the menu, which then ends
       });
  Run();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(TitleSeen(st::kInstructionsTitle));
  EXPECT_EQ(shell.state.level, 1);
  EXPECT_EQ(shell.state.lives, 3);
}

TEST_F(MainMenuTest, F2StartsAGameLikeSpace) {
  When([&] { return InMenu(); }, [&] { Driver().HoldKey(scancode::kF2, true); });
  When([] { return TitleIs(FirstLevelTitle()); },
       [&] {
         Driver().ReleaseAllKeys();
         Driver().HoldKey(scancode::kEsc, true);
       });
  Run();

  EXPECT_TRUE(ScriptDone());
}

TEST_F(MainMenuTest, EscAndSTogetherEndTheProgramWithoutSaving) {
  When([&] { return InMenu(); },
       [&] {
         Driver().HoldKey(scancode::kEsc, true);
         Driver().HoldKey(scancode::kS, true);
       });
  Run();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(TitleSeen(st::kSaveTitle));
  EXPECT_EQ(File("game.sav"), "");
}

TEST_F(MainMenuTest, TheCloseButtonEndsTheProgram) {
  When([&] { return InMenu(); }, [&] { Driver().CloseButton(); });
  Run();

  EXPECT_TRUE(ScriptDone());
}

TEST_F(MainMenuTest, TypedKeysAreDroppedOnePerPassSoALaterCloseStillEnds) {
  When([&] { return InMenu(); },
       [&] {
         Driver().Type('a', 5);
         Driver().CloseButton();
       });
  Run();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(rt::KeyHit());
}

}  // namespace
}  // namespace game::test
