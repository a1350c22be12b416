#pragma once

// From a key press to the key code it posts, in the PC keyboard's terms: a
// back end names the key by its set-1 scancode and its modifiers by these
// flags, whatever its platform calls them.
namespace rt {

// Modifier flags of TranslateKey.
inline constexpr int kModRightAlt = 0x01;
inline constexpr int kModLeftAlt = 0x02;
inline constexpr int kModRightCtrl = 0x04;
inline constexpr int kModLeftCtrl = 0x08;
inline constexpr int kModShift = 0x10;
inline constexpr int kModExtended = 0x100;  // the key has the PC extension prefix

// The key code a key press yields, or -1 for none. `character` is the
// character the press types (0 for none), `scanByte` the key's set-1
// scancode, `keyCharacter` the character the key types without modifiers
// (0 for none). Codes above 255 are extended: low byte 255, high byte the
// key's extended code.
int TranslateKey(int character, int scanByte, int keyCharacter, int modifiers);

// A key's set-1 make code; scancode -1 for a key a PC keyboard lacks.
struct Set1Key {
  int scancode = -1;
  bool extended = false;
};

}  // namespace rt
