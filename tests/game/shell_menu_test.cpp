#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "game/round/texts.h"
#include "game/scancodes.h"
#include "game/shell/highscore.h"
#include "game/shell/shell_texts.h"
#include "gfx/screen_state.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "support/hang_alarm.h"
#include "support/scenario.h"

namespace game::test {
namespace {

namespace st = shell_text;

std::string FirstLevelTitle() { return text::kPlayTitlePrefix + "1" + text::kTitleSuffix; }

bool MenuDrawn() { return TextAt(1, 1, st::kMenuLines[0].text, 0xFFFFFF); }

class MainMenuTest : public ::testing::Test, protected Scenario {};

TEST_F(MainMenuTest, OpensTheScreenAfterASecondAndParksTheHiddenPointer) {
  bool screenOpenAtFirstSleep = true;
  long long menuDrawnAtMs = 0;
  When([] { return true; }, [&] { screenOpenAtFirstSleep = rt::Screen() != nullptr; });
  When([&] { return InMenu() && MenuDrawn(); },
       [&] {
         menuDrawnAtMs = NowMs();
         Driver().HoldKey(scancode::kEsc, true);
       });
  RunProgram();

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
  RunProgram();

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
  RunProgram();

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
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(TitleSeen(st::kInstructionsTitle));
  EXPECT_EQ(State().level, 1);
  EXPECT_EQ(State().lives, 3);
}

TEST_F(MainMenuTest, F2StartsAGameLikeSpace) {
  When([&] { return InMenu(); }, [&] { Driver().HoldKey(scancode::kF2, true); });
  When([] { return TitleIs(FirstLevelTitle()); },
       [&] {
         Driver().ReleaseAllKeys();
         Driver().HoldKey(scancode::kEsc, true);
       });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
}

TEST_F(MainMenuTest, EscAndSTogetherEndTheProgramWithoutSaving) {
  When([&] { return InMenu(); },
       [&] {
         Driver().HoldKey(scancode::kEsc, true);
         Driver().HoldKey(scancode::kS, true);
       });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(TitleSeen(st::kSaveTitle));
  EXPECT_EQ(File("game.sav"), "");
}

TEST_F(MainMenuTest, TheCloseButtonEndsTheProgram) {
  When([&] { return InMenu(); }, [&] { Driver().CloseButton(); });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
}

TEST_F(MainMenuTest, TypedKeysAreDroppedOnePerPassSoALaterCloseStillEnds) {
  When([&] { return InMenu(); },
       [&] {
         Driver().Type('a', 5);
         Driver().CloseButton();
       });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_FALSE(rt::KeyHit());
}

// A file the game reads, replaced by a named pipe that nobody writes to, is
// refused at once: the game goes on as if the file were missing.
struct PipeCase {
  std::string name;
  std::string file;
  int menuKey;                 // the command that reads it; 0: start-up does
  std::function<bool()> seen;  // the screen that shows the game went on
};

void PrintTo(const PipeCase& c, std::ostream* os) { *os << c.name; }

class NamedPipeTest : public ::testing::TestWithParam<PipeCase>, protected Scenario {};

TEST_P(NamedPipeTest, TheGameGoesOnAsIfTheFileWereMissing) {
  const PipeCase& c = GetParam();
  std::filesystem::remove(Folder() / c.file);
  ASSERT_EQ(mkfifo((Folder() / c.file).c_str(), 0666), 0);
  const rt::test::HangAlarm hangAlarm;
  if (c.menuKey != 0) When([this] { return InMenu(); }, [this, &c] { Driver().HoldKey(c.menuKey, true); });
  When(c.seen, [this] {
    Driver().ReleaseAllKeys();
    Driver().HoldKey(scancode::kEsc, true);  // back to the menu, and out
  });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
}

INSTANTIATE_TEST_SUITE_P(DataFiles, NamedPipeTest,
                         ::testing::Values(PipeCase{"SaveFile", "game.sav", scancode::kF,
                                                    [] { return TitleIs(st::kNothingSavedTitle); }},
                                           PipeCase{"HighscoreFile", "game.hsc", scancode::kH,
                                                    [] { return TextAt(0, 0, RecordLine({}), 0xFFFFFF, 0); }},
                                           PipeCase{"Picture", "intro.bmp", 0, [] { return MenuDrawn(); }}),
                         [](const ::testing::TestParamInfo<PipeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace game::test
