#pragma once

#include "game/game_state.h"

namespace game {

// Writes the visible screen as "screenshots/screen<date>-<h>-<m>-<s>.bmp"
// below the working folder (creating the folder) and reports the outcome in
// the round's message line.
void TakeScreenshot(GameState& state);

}  // namespace game
