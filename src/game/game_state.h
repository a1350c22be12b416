#pragma once

#include <string>

#include "gfx/image.h"

namespace game {

// The kinds of falling object. The codes are stored in the save file and
// must keep these values.
enum class ObjectKind : int { WhiteStone = 1, BlackStone = 2, Heart = 3, Money = 15, Ufo = 22 };

constexpr int Code(ObjectKind kind) { return static_cast<int>(kind); }

// The one record of the game in progress. Everything is zero or empty at
// program start; a new game sets only some fields (StartNewGame), so the
// message, the fall phase and the mouse fields carry over from the last game.
// Positions are pixels of the sprites' top-left corners; the catcher sits on
// y 400, and objectKind briefly holds a raw roll 1..22 while an object spawns.
struct GameState {
  int catcherX = 0;
  int objectX = 0;
  int objectY = 0;
  int objectKind = 0;
  int points = 0;
  int stones = 0;
  int lives = 0;
  int level = 0;
  int fallPhase = 0;       // 0 or 1: the object falls every second frame
  int frameDelay = 0;      // ms; each frame pauses frameDelay - 2
  int mouseControl = 0;    // 1 while a left-button drag steers the catcher
  int pauseRequested = 0;  // 1: the next frame pauses
  std::string message;     // code page 437
  int mouseX = 0;
  int mouseButtons = 0;
  int mouseWheel = 0;
  int previousWheel = 0;
  rt::ImagePtr objectImage;
  rt::ImagePtr catcherImage;
};

}  // namespace game
