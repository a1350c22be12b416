#pragma once

#include "game/game_state.h"

// How the player moves the catcher along kCatcherY.
namespace game {

// Reads the mouse once per frame: a drag with the left button alone steers
// the catcher; the wheel value is kept for the acceleration check.
void SteerByMouse(GameState& state);
// Left and Right move the catcher one pixel; both together cancel out.
void SteerByKeys(GameState& state);
// Keeps the catcher's left edge within 0..601, after the frame's judgement.
void ClampCatcher(GameState& state);

}  // namespace game
