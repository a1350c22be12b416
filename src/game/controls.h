#pragma once

// How the game reads the player's keys.
namespace game {

// Whether the key with this set-1 scancode (game/scancodes.h) is held now.
bool Held(int scancode);

// Takes one typed key from the queue: whether it was the window's close
// button. Any other key is dropped, so every call consumes one.
bool CloseRequested();

}  // namespace game
