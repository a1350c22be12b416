#pragma once

#include "game/game_state.h"

// What an object does when it reaches the catch line (kCatchLineY) or has
// gone past it (kPassedY). A rule that fires sets the message and returns true;
// the caller then ends the frame with a new object.
namespace game {

// Whether the object's left edge lies from catcherX to catcherX + kCatchBoxWidth - 1.
bool InCatchBox(const GameState& state);
// On the catch line, inside the catch box: catching and being hit.
bool JudgeCatch(GameState& state);
// Just past the line, for the one kind whose turn it is at this point of the frame.
bool JudgeMiss(GameState& state, ObjectKind kind);

}  // namespace game
