#pragma once

#include <string>

#include "input/key_codes.h"

namespace rt {

// -1 while the key with this set-1 scancode is held, else 0 (also with no
// screen open or a scancode outside 0..127).
int Multikey(int scancode);
// Takes the oldest typed key as its string form: "" for none, one byte for
// 1..255, byte 255 and the high byte for an extended key. Clears keyPosted.
std::string Inkey();
// Whether the key queue holds a code; nothing is removed.
bool KeyHit();
// Returns keyPosted and clears it.
bool TakeKeyPosted();
// The string form of a key code, as Inkey returns it.
std::string KeyCodeString(int code);

}  // namespace rt
