#pragma once

#include <string_view>

#include "game/game_state.h"

namespace game {

// "game.sav": one record of eight integers, the parked part of a game, in
// the order objectY, catcherX, points, level, stones, objectKind, lives,
// objectX. A first item of 0 means that no game is parked. Always on file
// number 1.

// Writes the parked part of `state`. False when the file could not be
// written whole (it then keeps its previous contents).
bool WriteSaveFile(std::string_view path, const GameState& state);
// Overwrites all eight fields; items the file lacks (or a missing file) read as 0.
void ReadSaveFile(std::string_view path, GameState& state);
// Sets the eight fields as a file with nothing parked reads them: all 0.
void ClearSavedFields(GameState& state);
// Replaces the file by the single item 0: nothing parked. False when the
// file could not be replaced (it then keeps what it held).
bool ClearSaveFile(std::string_view path);

}  // namespace game
