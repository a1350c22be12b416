#pragma once

#include <functional>
#include <string>

#include "game/game_state.h"
#include "game/next_screen.h"

namespace game {

// Sets the values a new game starts with and spawns the first object; the
// caller then runs GameLoop.
void StartNewGame(GameState& state);

// Draws the whole screen of a frame: clear, background picture, status line,
// object, catcher and message line.
void DrawFrame(const GameState& state);

// Plays frames until the player leaves (NextScreen::Menu) or no lives are
// left (NextScreen::GameOver); S writes a screenshot into `screenshotFolder`.
NextScreen GameLoop(GameState& state, const std::string& screenshotFolder);

// A seam for tests: called at the start of every frame. When it returns
// false, GameLoop returns NextScreen::Round at once; calling GameLoop again
// resumes with that frame. An empty function removes the hook.
using FrameHook = std::function<bool(GameState&)>;
void SetFrameHook(FrameHook hook);

}  // namespace game
