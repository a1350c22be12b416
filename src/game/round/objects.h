#pragma once

#include "game/game_state.h"

// Where the falling object comes from and how it moves. Each step that can
// end the frame returns true when it did, and the caller then spawns a new
// object.
namespace game {

// A new object at the top: reseeds the random generator from the clock,
// rolls the kind and x, then PrepareObject.
void SpawnObject(GameState& state);
// Folds objectKind onto the five kinds, aims black stones and saucers at the
// catcher and loads the object's sprite (also used after loading a game).
void PrepareObject(GameState& state);

// Every second frame one pixel down, faster from level 3 until y 390.
void FallStep(GameState& state);
// A saucer homes in on the catcher and lands on the catch line.
bool UfoStep(GameState& state);
// Turning the wheel or holding Down speeds the object up for this frame.
void AccelerateByWheel(GameState& state);
void AccelerateByDownKey(GameState& state);

}  // namespace game
