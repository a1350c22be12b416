#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "input/key_translate.h"

// From SDL's key events to the runtime's keys: set-1 scancodes, TranslateKey's
// modifier flags, the codes a press posts and the key-state table. SDL values
// (scancodes, keycodes, modifier bits) travel as plain ints.
namespace rt {

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
