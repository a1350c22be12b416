#include "game/round/levels.h"

#include "game/assets.h"
#include "game/round/texts.h"
#include "gfx/bmp.h"
#include "gfx/text.h"
#include "input/timing.h"
#include "rt/strings.h"

namespace game {

namespace {

// clang-format off
constexpr LevelRow kLevelRows[] = {
    // level  points above  bonus
    {1,       9,            2},
    {2,       19,           4},
    {3,       49,           5},
    {4,       99,           5},
    {5,       199,          6},
    {6,       349,          7},
    {7,       524,          8},
    {8,       774,          9},
};
// clang-format on

// About five seconds; a key press ends each of the long sleeps early.
void HoldNotice() {
  for (int i = 0; i < 9; ++i) rt::SleepMs(1);
  for (int i = 0; i < 3; ++i) rt::SleepMs(1000);
  rt::SleepMs(2000);
}

}  // namespace

void CheckLevelUp(GameState& state) {
  for (const LevelRow& row : kLevelRows) {
    if (state.level == row.level && state.points > row.pointsAbove) LevelUpScreen(state, row);
  }
}

void LevelUpScreen(GameState& state, const LevelRow& row) {
  state.lives += 1;
  rt::Cls();
  rt::Bload(kIntroPicture);
  rt::SleepMs(1);
  rt::Print(rt::StrFromInt(state.points) + text::kLevelUpPointsSuffix);
  rt::Print(text::kLevelUpNextLevel);
  HoldNotice();
  state.points += row.bonusPoints;
  state.level += 1;
  rt::Cls();
  state.message = rt::StrFromInt(state.level) + text::kLevelReachedSuffix;
}

}  // namespace game
