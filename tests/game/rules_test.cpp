// The round's rules on a bare GameState: no screen, no clock.
#include "game/round/rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/round/catcher.h"
#include "game/round/objects.h"
#include "game/round/texts.h"

namespace game {
namespace {

TEST(Texts, OnScreenTextsAreCodePage437Bytes) {
  EXPECT_EQ(text::kStoneCaught, "Stein gefangen - 1 Punkt hinzugef\x81gt");
  EXPECT_EQ(text::kMoneyCaught,
            "Du hast ein Geldst\x81"
            "ck gefangen. - Dir wurden 5 Punkte hinzugef\x81gt");
  EXPECT_EQ(text::kLevelUpNextLevel,
            "Du bist jetzt im n\x84"
            "chsten Level!");
  EXPECT_EQ(text::kLevelUpPointsSuffix, " Punkte erreicht: Ein Leben hinzugef\x81gt!!!");
  EXPECT_EQ(text::kPausedTitle, "Spiel angehalten | Morvanta");
}

GameState StoneAt(int objectX, int catcherX) {
  GameState s;
  s.objectX = objectX;
  s.catcherX = catcherX;
  return s;
}

TEST(CatchBox, DoesNotOverflowAtTheEndsOfTheIntegerRange) {
  EXPECT_FALSE(InCatchBox(StoneAt(INT_MAX, INT_MIN)));
  EXPECT_FALSE(InCatchBox(StoneAt(INT_MIN, INT_MAX)));
  EXPECT_TRUE(InCatchBox(StoneAt(INT_MIN, INT_MIN)));
}

struct RuleCase {
  ObjectKind kind;
  int stones, points, lives;
  const std::string* message;
};

GameState Judged(ObjectKind kind, int y, int objectX) {
  GameState s;
  s.objectKind = Code(kind);
  s.objectY = y;
  s.objectX = objectX;
  s.catcherX = 100;
  s.stones = 10;
  s.points = 20;
  s.lives = 2;
  return s;
}

TEST(CatchRules, EachKindInTheBoxAtTheCatchLineHasItsEffectAndMessage) {
  const RuleCase cases[] = {
      {ObjectKind::WhiteStone, 11, 21, 2, &text::kStoneCaught},
      {ObjectKind::BlackStone, 10, 20, 1, &text::kHitByStone},
      {ObjectKind::Heart, 10, 20, 3, &text::kLifeCaught},
      {ObjectKind::Money, 11, 25, 2, &text::kMoneyCaught},
  };
  for (const RuleCase& c : cases) {
    GameState s = Judged(c.kind, 400, 110);
    EXPECT_TRUE(JudgeCatch(s));
    EXPECT_EQ(s.stones, c.stones);
    EXPECT_EQ(s.points, c.points);
    EXPECT_EQ(s.lives, c.lives);
    EXPECT_EQ(s.message, *c.message);
  }
}

TEST(CatchRules, TakeNothingOutsideTheBoxOffTheLineOrForAnUnknownKind) {
  GameState outside = Judged(ObjectKind::WhiteStone, 400, 130);
  GameState above = Judged(ObjectKind::WhiteStone, 399, 110);
  GameState ufo = Judged(ObjectKind::Ufo, 400, 110);
  GameState unknown = Judged(ObjectKind::WhiteStone, 400, 110);
  unknown.objectKind = 9;
  for (GameState* s : {&outside, &above, &ufo, &unknown}) {
    EXPECT_FALSE(JudgeCatch(*s));
    EXPECT_EQ(s->points, 20);
    EXPECT_TRUE(s->message.empty());
  }
}

TEST(MissRules, EachKindPastTheLineHasItsEffectAndMessageWhereverTheCatcherIs) {
  const RuleCase cases[] = {
      {ObjectKind::WhiteStone, 10, 20, 1, &text::kStoneMissed},
      {ObjectKind::BlackStone, 10, 21, 2, &text::kStoneDodged},
      {ObjectKind::Heart, 10, 20, 2, &text::kLifeMissed},
      {ObjectKind::Money, 10, 19, 2, &text::kMoneyMissed},
  };
  for (const RuleCase& c : cases) {
    GameState s = Judged(c.kind, 401, 110);
    EXPECT_TRUE(JudgeMiss(s, c.kind));
    EXPECT_EQ(s.stones, c.stones);
    EXPECT_EQ(s.points, c.points);
    EXPECT_EQ(s.lives, c.lives);
    EXPECT_EQ(s.message, *c.message);
  }
}

TEST(MissRules, JudgeOnlyTheKindWhoseTurnItIsAndOnlyAt401) {
  GameState heart = Judged(ObjectKind::Heart, 401, 110);
  EXPECT_FALSE(JudgeMiss(heart, ObjectKind::WhiteStone));
  EXPECT_FALSE(JudgeMiss(heart, ObjectKind::BlackStone));
  GameState low = Judged(ObjectKind::WhiteStone, 402, 110);
  EXPECT_FALSE(JudgeMiss(low, ObjectKind::WhiteStone));
  EXPECT_EQ(low.lives, 2);
}

TEST(MissRules, MissingMoneyAtZeroPointsGoesNegative) {
  GameState s = Judged(ObjectKind::Money, 401, 0);
  s.points = 0;
  JudgeMiss(s, ObjectKind::Money);
  EXPECT_EQ(s.points, -1);
}

TEST(FallStep, MovesEverySecondFrameAndOnePixelFrom390On) {
  GameState s;
  s.level = 9;
  s.objectY = 390;
  FallStep(s);
  EXPECT_EQ(s.objectY, 390);
  EXPECT_EQ(s.fallPhase, 1);
  FallStep(s);
  EXPECT_EQ(s.objectY, 391);
  EXPECT_EQ(s.fallPhase, 0);
}

GameState UfoLanding(int catcherOffset) {
  GameState s;
  s.objectKind = Code(ObjectKind::Ufo);
  s.objectX = 200;
  s.catcherX = 200 + catcherOffset;
  s.objectY = 400;
  s.lives = 3;
  return s;
}

TEST(UfoStep, HomesOnePixelTowardsTheCatcherAndStopsOnIt) {
  GameState s = UfoLanding(5);
  s.objectY = 100;
  EXPECT_FALSE(UfoStep(s));
  EXPECT_EQ(s.objectX, 201);
  s.catcherX = 150;
  UfoStep(s);
  EXPECT_EQ(s.objectX, 200);
  s.catcherX = 200;
  UfoStep(s);
  EXPECT_EQ(s.objectX, 200);
}

TEST(UfoStep, LandingOnTheCatcherTakesAllLivesAndStillScores) {
  // Offsets before the saucer homes one pixel: 20 and -2 become 19 and -1.
  for (int offset : {20, 1, 0, -2}) {
    GameState s = UfoLanding(offset);
    EXPECT_TRUE(UfoStep(s));
    EXPECT_EQ(s.lives, 0) << offset;
    EXPECT_EQ(s.points, 10);
    EXPECT_EQ(s.message, text::kUfoRepelled);
  }
  for (int offset : {21, -3}) {
    GameState s = UfoLanding(offset);
    EXPECT_TRUE(UfoStep(s));
    EXPECT_EQ(s.lives, 3) << offset;
    EXPECT_EQ(s.points, 10);
  }
}

TEST(ClampCatcher, TurnsMinusOneIntoOneAnd602Into600) {
  for (auto [in, out] : {std::pair{-1, 1}, {0, 0}, {601, 601}, {602, 600}, {INT_MIN, 1}, {639, 600}}) {
    GameState s;
    s.catcherX = in;
    ClampCatcher(s);
    EXPECT_EQ(s.catcherX, out) << in;
  }
}

}  // namespace
}  // namespace game
