#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

// From key events to key codes and held keys. SDL values (scancodes,
// keycodes, modifier bits) travel as plain ints so that this header needs no
// SDL; only the display side produces them.
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
Set1Key Set1FromSdl(int sdlScancode);

// TranslateKey's modifier flags from SDL's modifier state.
int ModifierFlags(int sdlMods);

// The code a key press posts by itself, -1 for none: an extended code, or
// one of the control characters that come with no text (Enter 13, Ctrl+Enter
// 10, Backspace 8, Tab 9, Esc 27, Ctrl+letter 1..26). With only the left Alt
// held a press is a command to the window and posts nothing.
int KeyPressCode(int sdlScancode, int sdlKeycode, int sdlMods);

// Whether typed text counts while these modifiers are held: not with the
// left Alt alone, nor with Ctrl without Alt (those are commands).
bool TextCounts(int sdlMods);

// Posts typed UTF-8 text as code page 437 bytes, 0 for a character that
// code page lacks. Display side, lock held.
void PostTypedText(std::string_view utf8);

// Which SDL keys hold each entry of the key-state table. Letters follow the
// active layout: `scancodeForKey` gives the SDL scancode that types an SDL
// keycode (SDL_GetScancodeFromKey); rebuild when the layout changes.
class KeyStateMap {
 public:
  explicit KeyStateMap(const std::function<int(int sdlKeycode)>& scancodeForKey);
  // keyState[i] = 1 while a key of row i is down in `sdlState` (indexed by
  // SDL scancode, `sdlKeyCount` entries); entries without a row stay 0.
  void Refresh(const std::uint8_t* sdlState, int sdlKeyCount, std::array<std::uint8_t, 128>& keyState) const;

 private:
  std::array<std::array<int, 2>, 128> sources_{};  // SDL scancodes, 0 for none
};

}  // namespace rt
