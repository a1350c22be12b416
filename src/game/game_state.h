#pragma once

#include <string>

#include "gfx/image.h"

namespace game {

// The kinds of falling object. The codes are stored in the save file and
// must keep these values.
enum class ObjectKind : int { WhiteStone = 1, BlackStone = 2, Heart = 3, Money = 15, Ufo = 22 };

constexpr int Code(ObjectKind kind) { return static_cast<int>(kind); }

// Where the round is played, in pixels; y values are sprites' top edges.
inline constexpr int kCatcherY = 400;
// An object at the catcher's height is caught or hits; one pixel lower it
// has gone past and is judged as missed or dodged in the next frame.
inline constexpr int kCatchLineY = kCatcherY;
inline constexpr int kPassedY = kCatchLineY + 1;
// Below this an object that no rule took costs a life.
inline constexpr int kLostBelowY = 410;
// An object touches the catcher when its left edge lies from catcherX to
// catcherX + kCatchBoxWidth - 1; the sprites' sizes play no part.
inline constexpr int kCatchBoxWidth = 30;

// The values of the game in progress: everything but its sprites, so that a
// copy is cheap. Everything is zero or empty at program start; a new game
// sets only some fields (StartNewGame), so the message, the fall phase and
// the mouse fields carry over from the last game. Positions are pixels of the
// sprites' top-left corners; the catcher sits on kCatcherY, and objectKind
// briefly holds a raw roll 1..22 while an object spawns.
struct GameValues {
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
};

// The one record of the game in progress: its values and the two sprites.
struct GameState : GameValues {
  rt::ImagePtr objectImage;
  rt::ImagePtr catcherImage;
};

}  // namespace game
