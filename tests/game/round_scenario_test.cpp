// The real GameLoop on the scripted back end and the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/round/round.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "input/key_queue.h"
#include "support/scenario.h"

namespace game {
namespace {

using test::Scenario;

class Round : public ::testing::Test {
 protected:
  // A game in progress at level 1 with the catcher at 300 and a white stone
  // high above it.
  void SetUp() override {
    s.frameDelay = 4;
    s.level = 1;
    s.lives = 3;
    s.catcherX = 300;
    scenario.PlaceObject(ObjectKind::WhiteStone, 300, 100);
  }

  // The object reaches the catch line in the next frame.
  void AboutToLand(ObjectKind kind, int x) {
    scenario.PlaceObject(kind, x, 399);
    s.fallPhase = 1;
  }

  void JustPassed(ObjectKind kind, int x) {
    scenario.PlaceObject(kind, x, 401);
    s.fallPhase = 0;  // the next frame has no fall step
  }

  Scenario scenario;
  GameState& s = scenario.State();
};

// Frames until a white stone dropped at y 15 onto the catcher is caught.
int FramesUntilCaught(Scenario& scenario, int level) {
  GameState& s = scenario.State();
  s.level = level;
  scenario.PlaceObject(ObjectKind::WhiteStone, s.catcherX + 10, 15);
  s.fallPhase = 0;
  const int start = scenario.FramesRun();
  while (s.stones == 0 && scenario.FramesRun() - start < 2000) scenario.RunFrames(1);
  return scenario.FramesRun() - start;
}

TEST_F(Round, ANewObjectReachesTheCatchLineAfter385198Or135FallSteps) {
  s.lives = 9;
  EXPECT_EQ(FramesUntilCaught(scenario, 1), 2 * 385);
  s.stones = 0;
  EXPECT_EQ(FramesUntilCaught(scenario, 2), 2 * 385);
  s.stones = 0;
  EXPECT_EQ(FramesUntilCaught(scenario, 3), 2 * 198);
  s.stones = 0;
  EXPECT_EQ(FramesUntilCaught(scenario, 4), 2 * 135);
  s.stones = 0;
  EXPECT_EQ(FramesUntilCaught(scenario, 9), 2 * 135);
}

TEST_F(Round, AStoneAtTheCatchersRightEdgeIsCaught) {
  AboutToLand(ObjectKind::WhiteStone, 300 + 29);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().stones, 1);
  EXPECT_EQ(scenario.LastFrame().message, text::kStoneCaught);
}

TEST_F(Round, AStoneOnePixelOutsideTheBoxIsMissedOneFrameLater) {
  for (int x : {300 + 30, 300 - 1}) {
    s.lives = 3;
    AboutToLand(ObjectKind::WhiteStone, x);
    scenario.RunFrames(1);
    EXPECT_EQ(scenario.LastFrame().objectY, 401) << x;
    EXPECT_EQ(scenario.LastFrame().lives, 3);
    scenario.RunFrames(1);
    EXPECT_EQ(scenario.LastFrame().lives, 2) << x;
    EXPECT_EQ(scenario.LastFrame().message, text::kStoneMissed);
  }
}

TEST_F(Round, TheBoxTestSeesTheUnclampedInputWhileTheFrameShowsTheOldPlace) {
  s.catcherX = 601;
  AboutToLand(ObjectKind::WhiteStone, 602 + 29);  // outside the box of a clamped 600
  scenario.HoldKey(scancode::kRight, 1);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().stones, 1);
  EXPECT_EQ(test::ScreenRgb(601, 405), test::kCatcherColor);
  EXPECT_NE(test::ScreenRgb(600, 405), test::kCatcherColor);
}

TEST_F(Round, TheMouseCanCarryTheCatcherPastTheScreenForTheBoxTest) {
  AboutToLand(ObjectKind::Money, 639 + 29);
  scenario.MovePointer(639, 300);
  scenario.HoldButtons(1, 1);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().points, 5);
  EXPECT_EQ(scenario.LastFrame().catcherX, 639);
}

TEST_F(Round, HoldingLeftAtTheEdgeOscillatesBetweenZeroAndOne) {
  s.catcherX = 0;
  scenario.HoldKey(scancode::kLeft, 4);
  scenario.RunFrames(4);
  std::vector<int> xs;
  for (const auto& f : scenario.Frames()) xs.push_back(f.catcherX);
  EXPECT_EQ(xs, (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(Round, HoldingRightAtTheEdgeOscillatesBetween601And600) {
  s.catcherX = 601;
  scenario.HoldKey(scancode::kRight, 4);
  scenario.RunFrames(4);
  std::vector<int> xs;
  for (const auto& f : scenario.Frames()) xs.push_back(f.catcherX);
  EXPECT_EQ(xs, (std::vector<int>{600, 601, 600, 601}));
}

// Left at x 0 and P are held in the frame of the miss: whether the frame
// reached the clamp (step 14) and the pause key (step 13) shows where the
// rule sits; whether it reached step 10 shows in the 1 ms sleep.
class RuleOrder : public Round {
 protected:
  const test::FrameRecord& MissFrame(ObjectKind kind) {
    s.catcherX = 0;
    JustPassed(kind, 200);
    scenario.HoldKey(scancode::kLeft, 1);
    scenario.HoldKey(scancode::kP, 1);
    scenario.TurnWheel(1);
    scenario.RunFrames(1);
    return scenario.LastFrame();
  }
};

TEST_F(RuleOrder, AMissedWhiteStoneEndsTheFrameBeforeTheShortSleep) {
  const auto& frame = MissFrame(ObjectKind::WhiteStone);
  EXPECT_EQ(frame.message, text::kStoneMissed);
  EXPECT_EQ(frame.sleepsMs, (std::vector<int>{2}));
  EXPECT_EQ(frame.catcherX, -1);
  EXPECT_EQ(frame.pauseRequested, 0);
}

TEST_F(RuleOrder, ADodgedBlackStoneEndsTheFrameAfterTheShortSleepBeforeThePauseKey) {
  const auto& frame = MissFrame(ObjectKind::BlackStone);
  EXPECT_EQ(frame.message, text::kStoneDodged);
  EXPECT_EQ(frame.sleepsMs, (std::vector<int>{2, 1}));
  EXPECT_EQ(frame.catcherX, -1);
  EXPECT_EQ(frame.pauseRequested, 0);
}

TEST_F(RuleOrder, MissedHeartsAndMoneyComeAfterTheClampAndBeforeTheWheel) {
  s.lives = 2;  // hearts fall only then
  for (ObjectKind kind : {ObjectKind::Heart, ObjectKind::Money}) {
    s.pauseRequested = 0;
    const auto& frame = MissFrame(kind);
    EXPECT_EQ(frame.message, kind == ObjectKind::Heart ? text::kLifeMissed : text::kMoneyMissed);
    EXPECT_EQ(frame.catcherX, 1);
    EXPECT_EQ(frame.pauseRequested, 1);
    EXPECT_EQ(frame.objectY, 15) << "the wheel must not speed up the new object";
  }
}

TEST_F(Round, LosingTheLastLifeShowsOneMoreFrameBeforeGameOver) {
  s.lives = 1;
  JustPassed(ObjectKind::WhiteStone, 100);
  EXPECT_EQ(scenario.RunUntilHandOver(), NextScreen::GameOver);
  ASSERT_EQ(scenario.FramesRun(), 2);
  EXPECT_EQ(test::StatusLine(), "Leben:  0  Steine:  0   Punkte:  0  Level:  1");
  EXPECT_EQ(test::MessageLine(), text::kStoneMissed);
}

TEST_F(Round, NegativeLivesFromADamagedSaveEndTheGame) {
  s.lives = -3;
  EXPECT_EQ(scenario.RunUntilHandOver(), NextScreen::GameOver);
  EXPECT_EQ(scenario.FramesRun(), 1);
}

TEST_F(Round, PShowsItsMessageForOneFrameBeforeThePause) {
  scenario.WakeLongWaits();
  std::vector<std::string> linesWhenPaused;
  scenario.OnSleep([&](int) {
    if (scenario.Titles().back() == text::kPausedTitle && linesWhenPaused.empty()) {
      linesWhenPaused.push_back(test::MessageLine());
    }
  });
  scenario.HoldKey(scancode::kP, 1);
  scenario.RunFrames(3);
  EXPECT_EQ(scenario.Frames()[0].message, text::kPaused);
  EXPECT_EQ(scenario.Frames()[1].message, text::kResumed);
  EXPECT_EQ(linesWhenPaused, (std::vector<std::string>{text::kPaused}));
  EXPECT_EQ(std::count(scenario.Titles().begin(), scenario.Titles().end(), text::kPausedTitle), 1);
  EXPECT_EQ(scenario.Titles().back(), "Spiel - Level 1 | Morvanta");
}

TEST_F(Round, HoldingPThroughTheResumePausesAgain) {
  scenario.WakeLongWaits();
  scenario.HoldKey(scancode::kP, 2);
  scenario.RunFrames(4);
  EXPECT_EQ(std::count(scenario.Titles().begin(), scenario.Titles().end(), text::kPausedTitle), 2);
  EXPECT_EQ(scenario.LastFrame().pauseRequested, 0);
  EXPECT_EQ(scenario.LastFrame().message, text::kResumed);
}

TEST_F(Round, ASaucerLanding19PixelsLeftOfTheCatcherEndsTheGame) {
  s.level = 4;
  AboutToLand(ObjectKind::Ufo, 280);  // homes to 281: the catcher is 19 pixels right of it
  EXPECT_EQ(scenario.RunUntilHandOver(), NextScreen::GameOver);
  EXPECT_EQ(scenario.FramesRun(), 2);
  EXPECT_EQ(scenario.Frames()[0].points, 10);
  EXPECT_EQ(scenario.Frames()[0].message, text::kUfoRepelled);
}

TEST_F(Round, ASaucerLanding20PixelsLeftOfTheCatcherGivesTenPoints) {
  s.level = 4;
  AboutToLand(ObjectKind::Ufo, 279);
  EXPECT_EQ(scenario.RunFrames(3), NextScreen::Round);
  EXPECT_EQ(scenario.LastFrame().points, 10);
  EXPECT_EQ(scenario.LastFrame().lives, 3);
}

TEST_F(Round, ALoadedGameBeforeAnyNewGameHasNoTwoMillisecondPause) {
  s.frameDelay = 0;
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().sleepsMs, (std::vector<int>{1}));
  scenario.NewGame();
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().sleepsMs, (std::vector<int>{2, 1}));
}

TEST_F(Round, TheWheelGoingToMinusOneWhenThePointerLeavesCountsAsATurn) {
  scenario.RunFrames(1);
  const int y = scenario.LastFrame().objectY;
  scenario.MovePointerOutside();
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().mouseWheel, -1);
  EXPECT_EQ(scenario.LastFrame().objectY, y + 5 + (scenario.LastFrame().fallPhase == 0 ? 1 : 0));
  EXPECT_EQ(scenario.LastFrame().message, text::kObjectSpedUp);
  s.message.clear();
  scenario.RunFrames(1);
  EXPECT_TRUE(scenario.LastFrame().message.empty()) << "no change, no turn";
  scenario.MovePointer(10, 10);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().message, text::kObjectSpedUp);
}

TEST_F(Round, DownSpeedsTheObjectUpUntil395AndTheWheelUntil370) {
  auto frameWithoutFall = [&](auto input) {
    s.fallPhase = 0;
    input();
    scenario.RunFrames(1);
    return scenario.LastFrame().objectY;
  };
  s.objectY = 394;
  EXPECT_EQ(frameWithoutFall([&] { scenario.HoldKey(scancode::kDown, 1); }), 396);
  EXPECT_EQ(frameWithoutFall([&] { scenario.HoldKey(scancode::kDown, 1); }), 396);
  s.objectY = 369;
  EXPECT_EQ(frameWithoutFall([&] { scenario.TurnWheel(-2); }), 374);
  EXPECT_EQ(frameWithoutFall([&] { scenario.TurnWheel(1); }), 374);
}

TEST_F(Round, ALeftDragSteersFromTheCatchersPlaceAndReleaseEndsIt) {
  scenario.MovePointer(500, 300);
  scenario.HoldButtons(1, 3);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().catcherX, 500);
  EXPECT_EQ(scenario.LastFrame().message, text::kMouseControlOn);
  ASSERT_EQ(scenario.Driver().Warps().size(), 1u);
  EXPECT_EQ(scenario.Driver().Warps()[0].x, 300);
  EXPECT_EQ(scenario.Driver().Warps()[0].y, 400);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().catcherX, 300) << "back where the pointer was put";
  scenario.AtFrame(0, [&] { scenario.MovePointer(320, 400); });
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().catcherX, 320);
  scenario.RunFrames(2);
  EXPECT_EQ(scenario.Frames()[3].message, text::kMouseControlOff);
  EXPECT_EQ(scenario.Frames()[3].mouseControl, 0);
  EXPECT_EQ(scenario.Driver().Warps().size(), 1u);
}

TEST_F(Round, TheLeftButtonWithAnotherOneNeitherSteersNorEndsADrag) {
  s.mouseControl = 1;
  s.message = text::kMouseControlOn;
  scenario.MovePointer(500, 300);
  scenario.HoldButtons(1 | 2, 1);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().catcherX, 300);
  EXPECT_EQ(scenario.LastFrame().mouseControl, 1);
  EXPECT_EQ(scenario.LastFrame().message, text::kMouseControlOn);
}

TEST_F(Round, EscLeavesToTheMenuWithTheObjectInMidAir) {
  scenario.RunFrames(2);
  const int y = scenario.LastFrame().objectY;
  const auto before = scenario.Clock().SleptMs();
  scenario.HoldKey(scancode::kEsc, 1);
  EXPECT_EQ(scenario.RunUntilHandOver(), NextScreen::Menu);
  EXPECT_GE(s.objectY, y);
  EXPECT_LE(s.objectY, y + 1);
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(scenario.LastFrame().message, "") << "no message on leaving";
  EXPECT_EQ(scenario.Clock().SleptMs() - before, 2 + 3 * 200);
  EXPECT_EQ(test::ScreenRgb(320, 240), 0u) << "the screen is cleared";
}

TEST_F(Round, TheCloseButtonLeavesToTheMenuAtTheEndOfTheFrame) {
  scenario.CloseButton();
  EXPECT_EQ(scenario.RunUntilHandOver(), NextScreen::Menu);
  EXPECT_EQ(scenario.FramesRun(), 1);
  EXPECT_EQ(scenario.LastFrame().SleptMs(), 2 + 1 + 3 * 200);
}

TEST_F(Round, OtherTypedKeysAreReadOnePerFrameAndDropped) {
  scenario.Type('a');
  scenario.Type('b');
  scenario.RunFrames(2);
  EXPECT_FALSE(rt::TheKeyQueue().HasKey());
}

TEST_F(Round, AnObjectBelow410CostsALifeWithoutAMessage) {
  s.message = "x";
  scenario.PlaceObject(ObjectKind::Heart, 0, 411);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().lives, 2);
  EXPECT_EQ(scenario.LastFrame().message, "x");
  EXPECT_EQ(scenario.LastFrame().objectY, 15);
}

TEST_F(Round, AFrameEndedByANewObjectDrawsItNearTheTopInTheNextFrame) {
  AboutToLand(ObjectKind::WhiteStone, 310);
  scenario.RunFrames(2);
  const auto& f = scenario.LastFrame();
  EXPECT_LE(f.objectY, 16);
  EXPECT_EQ(test::ScreenRgb(f.objectX + 8, f.objectY + 8), test::SpriteColor(ObjectKind(f.objectKind)));
}

TEST_F(Round, TheFrameShowsStatusLineSpritesAndMessage) {
  s.points = -1;
  s.stones = 7;
  s.message = text::kStoneDodged;
  scenario.PlaceObject(ObjectKind::Money, 200, 200);
  scenario.RunFrames(1);
  EXPECT_EQ(test::StatusLine(), "Leben:  3  Steine:  7   Punkte:  -1  Level:  1");
  EXPECT_EQ(test::MessageLine(), text::kStoneDodged);
  EXPECT_EQ(test::ScreenRgb(208, 208), test::kMoneyColor);
  EXPECT_EQ(test::ScreenRgb(200, 200), test::BackgroundColorAt(200, 200)) << "see-through corner";
  EXPECT_EQ(test::ScreenRgb(300, 400), test::kCatcherColor);
  EXPECT_EQ(scenario.Titles().back(), "Spiel - Level 1 | Morvanta");
}

}  // namespace
}  // namespace game
