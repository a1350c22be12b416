#pragma once

namespace game {

// The screens hand over to each other through a dispatch loop: each screen
// returns the one to show next instead of calling it, so the stack stays flat.
enum class NextScreen { Menu, NewGame, Round, GameOver, Instructions, SaveGame, LoadGame, Highscore, Exit };

}  // namespace game
