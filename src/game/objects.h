#pragma once

#include "game/game_state.h"

// How the falling object moves. Each step that can end the frame returns
// true when it did, and the caller then spawns a new object.
namespace game {

// Every second frame one pixel down, faster from level 3 until y 390.
void FallStep(GameState& state);
// A saucer homes in on the catcher and lands at y 400.
bool UfoStep(GameState& state);
// Turning the wheel or holding Down speeds the object up for this frame.
void AccelerateByWheel(GameState& state);
void AccelerateByDownKey(GameState& state);

}  // namespace game
