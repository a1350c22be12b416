#pragma once

#include "game/game_state.h"

namespace game {

// One row of the level table: at `level`, a score above `pointsAbove` raises
// the level by one and gives one life and `bonusPoints`.
struct LevelRow {
  int level;
  int pointsAbove;
  int bonusPoints;
};

// Tests the eight rows in order, each once; a row that fires raises the level,
// so the next row may fire in the same pass.
void CheckLevelUp(GameState& state);
// The full-screen notice of a level rise and its rewards.
void LevelUpScreen(GameState& state, const LevelRow& row);

}  // namespace game
