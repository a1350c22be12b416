#include "game/controls.h"

#include "input/keyboard.h"

namespace game {

bool Held(int scancode) { return rt::Multikey(scancode) != 0; }

bool CloseRequested() { return rt::Inkey() == rt::KeyCodeString(rt::kKeyClose); }

}  // namespace game
