#pragma once

#include "game/game_state.h"

// What an object does when it reaches the catcher's line (y 400) or has
// gone past it (y 401). A rule that fires sets the message and returns true;
// the caller then ends the frame with a new object.
namespace game {

// Whether the object's left edge lies from catcherX to catcherX + 29.
bool InCatchBox(const GameState& state);
// At y 400, inside the catch box: catching and being hit.
bool JudgeCatch(GameState& state);
// At y 401, for the one kind whose turn it is at this point of the frame.
bool JudgeMiss(GameState& state, ObjectKind kind);

}  // namespace game
