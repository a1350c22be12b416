#pragma once

#include <string>

#include "game/game_state.h"

namespace game {

// Writes the visible screen as "screen<date>-<h>-<m>-<s>.bmp" into `folder`
// (creating it) and reports the outcome in the round's message line.
void TakeScreenshot(GameState& state, const std::string& folder);

}  // namespace game
