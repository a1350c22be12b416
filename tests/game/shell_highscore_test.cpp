#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "game/round/texts.h"
#include "game/scancodes.h"
#include "game/shell/highscore.h"
#include "game/shell/shell_texts.h"
#include "support/file_size_limit.h"
#include "support/scenario.h"

namespace game::test {
namespace {

namespace st = shell_text;

constexpr int kEnter = 13;

class HighscoreTest : public ::testing::Test, protected Scenario {
 protected:
  // Ends a game with these results, typing `name` when asked for one.
  void LoseGame(int points, int stones, std::optional<std::string> name = std::nullopt) {
    StartGame();
    State().points = points;
    State().stones = stones;
    State().lives = 0;
    if (name) {
      When([] { return TitleIs(st::kNewRecordTitle); },
           [this, name] {
             for (unsigned char c : *name) Driver().Type(c);
             Driver().Type(kEnter);
           });
    }
    QuitWhenMenuIsBack();
    RunScreensFrom(NextScreen::GameOver);
  }
  void QuitWhenMenuIsBack() {
    When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kEsc, true); });
  }
};

TEST_F(HighscoreTest, RecordLinesJoinTheFourValues) {
  const HighscoreRecord record{120, "12-07-2026", 33, "Eva"};
  EXPECT_EQ(RecordLine(record), "Highscore: Punkte: 120 Name: Eva Tag: 12-07-2026 | beste Steine: 33");
  EXPECT_EQ(NewRecordLine({-5, "", 0, ""}), "Neue Highscore: Punkte: -5 Name:  Tag:  | beste Steine: 0");
}

TEST_F(HighscoreTest, AFirstGameOverWithPointsAsksForTheNameAndWritesTheRecord) {
  LoseGame(42, 17, "Max Muster");

  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(File("game.hsc"), "42,\"12-07-2026\",17,\"Max Muster\"\r\n");
}

TEST_F(HighscoreTest, ANameTypedWithACommaKeepsOnlyItsFirstPart) {
  LoseGame(8, 2, "  Anna, Berta");

  EXPECT_EQ(File("game.hsc"), "8,\"12-07-2026\",2,\"Anna\"\r\n");
}

TEST_F(HighscoreTest, GameOverReplacesTheSavedGameByNothingSaved) {
  WriteFile("game.sav", "120,40,9,1,3,1,2,300\r\n");
  LoseGame(0, 0);

  EXPECT_EQ(File("game.sav"), "0\r\n");
}

TEST_F(HighscoreTest, MoreStonesWithoutMorePointsRaiseOnlyTheBestStones) {
  WriteFile("game.hsc", "50,\"01-02-2026\",3,\"Eva\"\r\n");
  LoseGame(50, 7);

  EXPECT_FALSE(TitleSeen(st::kNewRecordTitle));
  EXPECT_EQ(File("game.hsc"), "50,\"01-02-2026\",7,\"Eva\"\r\n");
}

TEST_F(HighscoreTest, GameOverShowsTheResultsTheOldRecordAndTheNewOne) {
  WriteFile("game.hsc", "10,\"01-02-2026\",3,\"Eva\"\r\n");
  std::vector<bool> shown;
  When([] { return TitleIs(st::kNewRecordTitle); },
       [this] {
         for (char c : std::string("Bo")) Driver().Type(c);
         Driver().Type(kEnter);
       });
  When([] { return TextAt(0, 64, "Neue Highscore", 0xFFFFFF); },
       [&] {
         shown.push_back(TextAt(0, 0, st::kLost, 0xFFFFFF, 0));
         shown.push_back(TextAt(0, 16, "Du hast aber 4 Steine gefangen und 11 Punkte geholt!", 0xFFFFFF, 0));
         shown.push_back(TextAt(0, 32, RecordLine({10, "01-02-2026", 3, "Eva"}), 0xFFFFFF, 0));
         shown.push_back(TextAt(0, 48, st::kNamePrompt + "Bo", 0xFFFFFF, 0));
         shown.push_back(TextAt(0, 64, NewRecordLine({11, "12-07-2026", 4, "Bo"}), 0xFFFFFF, 0));
       });
  QuitWhenMenuIsBack();
  StartGame();
  State().points = 11, State().stones = 4;
  RunScreensFrom(NextScreen::GameOver);

  EXPECT_EQ(shown, std::vector<bool>(5, true));
}

// Where nothing can be written, game over says so for each file, and the game
// left in the save file cannot be resumed as if it had not ended.
TEST_F(HighscoreTest, GameOverReportsWritesThatFailAndKeepsTheEndedGameFromBeingResumed) {
  const std::string parked = "120,40,9,1,3,1,2,300\r\n", record = "50,\"01-02-2026\",3,\"Eva\"\r\n";
  WriteFile("game.sav", parked);
  WriteFile("game.hsc", record);
  const rt::test::FileSizeLimit nothingFits(2);
  bool recordFailureShown = false, clearFailureShown = false;
  constexpr std::uint32_t kRed = 0xFF0000;
  When([] { return TextAt(0, 80, st::kSaveClearFailed, kRed, 0); },
       [&] {
         recordFailureShown = TextAt(0, 64, st::kRecordWriteFailed, kRed, 0);
         clearFailureShown = true;
       });
  When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kF, true); });
  When([] { return TitleIs(st::kLoadTitle); }, [this] { Driver().ReleaseAllKeys(); });
  QuitWhenMenuIsBack();
  StartGame();
  GameState& state = TheShell().state;
  state.points = 10, state.stones = 1, state.lives = 0;
  RunScreensFrom(NextScreen::GameOver);

  EXPECT_TRUE(ScriptDone());
  EXPECT_TRUE(recordFailureShown);
  EXPECT_TRUE(clearFailureShown);
  EXPECT_TRUE(TitleSeen(st::kNothingSavedTitle));
  EXPECT_FALSE(TitleSeen(text::kPlayTitlePrefix + "1" + text::kTitleSuffix));
  EXPECT_EQ(File("game.sav"), parked);
  EXPECT_EQ(File("game.hsc"), record);
}

class HighscoreViewTest : public HighscoreTest {
 protected:
  // The view waits for its keys with 1 ms sleeps; the menu sleeps 3 ms.
  void OpenView() {
    OnSleep([this](int delayMs) { lastSleepMs_ = delayMs; });
    When([this] { return InMenu(); }, [this] { Driver().HoldKey(scancode::kH, true); });
    When([this] { return lastSleepMs_ == 1; }, [this] { Driver().ReleaseAllKeys(); });
  }
  int lastSleepMs_ = 0;
};

TEST_F(HighscoreViewTest, DeleteWritesZeroTodayZeroAndADash) {
  WriteFile("game.hsc", "50,\"01-02-2026\",3,\"Eva\"\r\n");
  bool recordShown = false;
  OpenView();
  When([] { return true; },
       [&] {
         recordShown = TextAt(0, 0, RecordLine({50, "01-02-2026", 3, "Eva"}), 0xFFFFFF, 0);
         Driver().HoldKey(scancode::kDelete, true);
       });
  When([] { return TitleIs(st::kRecordDeletedTitle); }, [this] { Driver().ReleaseAllKeys(); });
  QuitWhenMenuIsBack();
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_TRUE(recordShown);
  EXPECT_EQ(File("game.hsc"), "0,\"12-07-2026\",0,\"-\"\r\n");
}

TEST_F(HighscoreViewTest, ADeletionThatCannotBeWrittenSaysSoInsteadOfDeleted) {
  const std::string record = "50,\"01-02-2026\",3,\"Eva\"\r\n";
  WriteFile("game.hsc", record);
  const rt::test::FileSizeLimit nothingFits(5);
  bool failureShown = false;
  OpenView();
  When([] { return true; }, [this] { Driver().HoldKey(scancode::kDelete, true); });
  When([] { return TextAt(0, 0, st::kDeleteFailed, 0xFF0000, 0); },
       [&] {
         failureShown = true;
         Driver().ReleaseAllKeys();
       });
  QuitWhenMenuIsBack();
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  EXPECT_TRUE(failureShown);
  EXPECT_FALSE(TitleSeen(st::kRecordDeletedTitle));
  EXPECT_EQ(File("game.hsc"), record);
}

TEST_F(HighscoreViewTest, AKeyLetGoDuringThePauseLeavesTheViewWaiting) {
  int menusDrawn = 0;
  OpenView();
  When([] { return true; }, [this] { Driver().HoldKey(scancode::kSpace, true); });
  When([this] { return lastSleepMs_ == 50; }, [this] { Driver().ReleaseAllKeys(); });  // within the 100 ms
  When([this] { return lastSleepMs_ == 1; },
       [&] {
         menusDrawn = int(std::count(Driver().Titles().begin(), Driver().Titles().end(), st::kMenuTitle));
         Driver().HoldKey(scancode::kEsc, true);
       });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
  // Esc took the view back to the menu, which then ended on the same Esc.
  EXPECT_EQ(std::count(Driver().Titles().begin(), Driver().Titles().end(), st::kMenuTitle), menusDrawn + 1);
}

TEST_F(HighscoreViewTest, SpaceHeldBeyondTheFinalPauseStartsAGame) {
  OpenView();
  When([] { return true; }, [this] { Driver().HoldKey(scancode::kSpace, true); });
  When([] { return TitleIs(text::kPlayTitlePrefix + "1" + text::kTitleSuffix); },
       [this] {
         Driver().ReleaseAllKeys();
         Driver().HoldKey(scancode::kEsc, true);
       });
  RunProgram();

  EXPECT_TRUE(ScriptDone());
}

}  // namespace
}  // namespace game::test
