#include <gtest/gtest.h>

#include "game/round/round.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "game/shell/shell_texts.h"
#include "gfx/screen.h"
#include "rt/strings.h"
#include "support/scenario.h"

namespace game::test {
namespace {

namespace st = shell_text;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;

std::string SaveRecord(const GameState& s) {
  std::string line;
  for (int value : {s.objectY, s.catcherX, s.points, s.level, s.stones, s.objectKind, s.lives, s.objectX}) {
    line += rt::StrFromInt(value) + ",";
  }
  line.back() = '\r';
  return line + "\n";
}

class SaveGameTest : public ::testing::Test, protected Scenario {
 protected:
  // From the menu: hold `key` until the screen's title shows, let go, and
  // end the program once the menu is back.
  void UseMenuKey(int key, const std::string& screenTitle) {
    When([this] { return InMenu(); }, [this, key] { Driver().HoldKey(key, true); });
    When([screenTitle] { return TitleIs(screenTitle); }, [this] { Driver().ReleaseAllKeys(); });
  }
  void QuitFromMenu() {
    When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kEsc, true); });
  }
};

TEST_F(SaveGameTest, SavingBeforeAnyGameWritesEightZerosWhichLoadReportsAsNothingSaved) {
  bool savedShown = false, nothingSavedShown = false;
  UseMenuKey(scancode::kS, st::kSaveTitle);
  When([] { return TextAt(50, 107, st::kSaved, kWhite); }, [&] { savedShown = true; });
  UseMenuKey(scancode::kF, st::kLoadTitle);
  When([] { return TitleIs(st::kNothingSavedTitle); },
       [&] { nothingSavedShown = TextAt(50, 107, st::kNothingSaved, kRed); });
  QuitFromMenu();
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(File("game.sav"), "0,0,0,0,0,0,0,0\r\n");
  EXPECT_TRUE(savedShown);
  EXPECT_TRUE(nothingSavedShown);
  EXPECT_FALSE(TitleSeen(text::kPlayTitlePrefix + "0" + text::kTitleSuffix));
}

TEST_F(SaveGameTest, ASaveThatCannotBeWrittenSaysSoInRed) {
  bool failureShown = false, savedShown = false;
  When([this] { return InMenu(); },
       [this] {
         TheShell().saveFilePath = (Folder() / "missing-folder/game.sav").string();
         Driver().HoldKey(scancode::kS, true);
       });
  When([] { return TitleIs(st::kSaveTitle); }, [this] { Driver().ReleaseAllKeys(); });
  OnSleep([&](int) {
    failureShown |= TextAt(50, 107, st::kSaveFailed, kRed);
    savedShown |= TextAt(50, 107, st::kSaved, kWhite);
  });
  QuitFromMenu();
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_TRUE(failureShown);
  EXPECT_FALSE(savedShown);
}

TEST_F(SaveGameTest, TwoSavesInARowLeaveOnlyTheSecond) {
  WriteFile("game.sav", "17,3,4,1,0,1,3,200\r\n");
  When([this] { return InMenu(); },
       [this] {
         State().objectY = 120;
         State().points = 9;
         Driver().HoldKey(scancode::kS, true);
       });
  When([] { return TitleIs(st::kSaveTitle); }, [this] { Driver().ReleaseAllKeys(); });
  QuitFromMenu();
  RunProgram();

  EXPECT_EQ(File("game.sav"), "120,0,9,0,0,0,0,0\r\n");
}

// A round left with Esc is saved from the menu; a new run of the program
// loads it, counts down 3, 2, 1 in red and plays on with the saved values.
TEST_F(SaveGameTest, ASavedRoundResumesInANewRunAfterTheCountdown) {
  int frames = 0;
  EachFrame([&](GameState& s) {
    if (++frames == 1) s.points = 37, s.level = 3, s.stones = 12, s.lives = 2;
    if (frames == 40) {
      Driver().ReleaseAllKeys();
      Driver().HoldKey(scancode::kEsc, true);
    }
  });
  When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kSpace, true); });
  When([this, &frames] { return InMenu() && frames > 0; },
       [this] {
         Driver().ReleaseAllKeys();
         Driver().HoldKey(scancode::kS, true);
       });
  When([] { return TitleIs(st::kSaveTitle); }, [this] { Driver().ReleaseAllKeys(); });
  QuitFromMenu();
  RunProgram();
  ASSERT_TRUE(ScriptDone());
  ASSERT_EQ(File("game.sav"), SaveRecord(State()));
  const GameValues saved = State();

  // The second run.
  ResetScript();
  std::string countdown;
  GameValues resumed;
  EachFrame([&](GameState& s) {
    resumed = s;
    Driver().HoldKey(scancode::kEsc, true);
  });
  OnSleep([&](int) {
    for (const char* digit : {"3", "2", "1"}) {
      if (TextAt(152, 304, digit, kRed, 0) && (countdown.empty() || countdown.back() != digit[0])) {
        countdown += digit;
      }
    }
  });
  UseMenuKey(scancode::kF, st::kLoadTitle);
  RunProgram();

  EXPECT_EQ(countdown, "321");
  EXPECT_TRUE(TitleSeen(text::kPlayTitlePrefix + "3" + text::kTitleSuffix));
  EXPECT_EQ(resumed.objectY, saved.objectY);
  EXPECT_EQ(resumed.catcherX, saved.catcherX);
  EXPECT_EQ(resumed.points, 37);
  EXPECT_EQ(resumed.stones, 12);
  EXPECT_EQ(resumed.lives, 2);
  EXPECT_EQ(resumed.level, 3);
}

TEST_F(SaveGameTest, LoadingAClearedSaveLeavesTheEightFieldsAtZero) {
  WriteFile("game.sav", "0\r\n");
  StartGame();
  State().points = 55, State().lives = 2, State().objectX = 300, State().level = 4;
  When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kF, true); });
  When([] { return TitleIs(st::kLoadTitle); }, [this] { Driver().ReleaseAllKeys(); });
  QuitFromMenu();
  RunScreensFrom(NextScreen::Menu);

  EXPECT_TRUE(TitleSeen(st::kNothingSavedTitle));
  EXPECT_EQ(SaveRecord(State()), "0,0,0,0,0,0,0,0\r\n");
}

}  // namespace
}  // namespace game::test
