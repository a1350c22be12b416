#pragma once

#include <string>
#include <string_view>

#include "game/game_state.h"
#include "game/next_screen.h"
#include "gfx/image.h"

namespace game {

// Everything the screens outside a round share: the game in progress, the
// places of the player's files, and the title picture loaded at start-up.
struct Shell {
  GameState state;
  std::string saveFilePath;
  std::string highscoreFilePath;
  std::string screenshotFolder;
  rt::ImagePtr introImage;
  // The save file could not be cleared when its game ended: until a save
  // succeeds, loading finds nothing rather than resuming the ended game.
  bool savedGameEnded = false;
};

// The whole program: start-up, then the screens until the player ends it.
// Returns the exit code: 0 when the player quits, 1 when no screen could be
// opened (a line on standard error says why).
int RunMorvanta();

// Start-up up to the splash: the paths of the player's files in
// `playerFolder` (game.sav, game.hsc, screenshots/), the screen, the two
// pictures that stay loaded, the parked pointer. False when no screen could
// be opened.
bool StartUp(Shell& shell, std::string_view playerFolder);
// Runs screens from `first` on, each handing over to the next through this
// loop, until one asks to end the program.
void RunScreens(Shell& shell, NextScreen first);

// The screens; each returns the one to show next.
NextScreen MainMenu(Shell& shell);
NextScreen SaveGame(Shell& shell);
NextScreen LoadGame(Shell& shell);
NextScreen GameOver(Shell& shell);
NextScreen ShowHighscore(Shell& shell);
NextScreen ShowInstructions(Shell& shell);

}  // namespace game
