#include "gfx/backend/sdl_keys.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "gfx/backend/sdl_key_tables.h"
#include "input/key_codes.h"

namespace rt {

namespace {

// The control character of a key that types one by itself, 0 for others.
int ControlKeyCharacter(int sdlKeycode) {
  switch (sdlKeycode) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kKeyEnter;
    case SDLK_BACKSPACE: return kKeyBackspace;
    case SDLK_TAB: return kKeyTab;
    case SDLK_ESCAPE: return kKeyEscape;
  }
  return 0;
}

// The character a key types without modifiers: control keys, keypad digits
// while Num Lock is on, and the layout's character of a printable key.
int UnmodifiedCharacter(int sdlScancode, int sdlKeycode, int sdlMods) {
  if (const int control = ControlKeyCharacter(sdlKeycode)) return control;
  if ((sdlMods & KMOD_NUM) && sdlScancode >= SDL_SCANCODE_KP_1 && sdlScancode <= SDL_SCANCODE_KP_0) {
    return sdlScancode == SDL_SCANCODE_KP_0 ? '0' : '1' + (sdlScancode - SDL_SCANCODE_KP_1);
  }
  return sdlKeycode > 0 && sdlKeycode < 256 ? sdlKeycode : 0;
}

// The control character a press types: Ctrl+Enter is a line feed, Ctrl and
// a letter its position in the alphabet.
int ControlCharacter(int sdlKeycode, int sdlMods) {
  const bool ctrl = (sdlMods & KMOD_CTRL) != 0;
  const int control = ControlKeyCharacter(sdlKeycode);
  if (control == kKeyEnter && ctrl) return kKeyCtrlEnter;
  if (control != 0) return control;
  if (ctrl && sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return sdlKeycode - SDLK_a + 1;
  return 0;
}

bool LeftAltAlone(int sdlMods) { return (sdlMods & KMOD_LALT) && !(sdlMods & (KMOD_RALT | KMOD_MODE)); }

}  // namespace

Set1Key Set1FromSdl(int sdlScancode) {
  for (const sdlkeys::Set1Row& row : sdlkeys::Set1Table()) {
    if (row.sdlScancode == sdlScancode) return {row.scancode, row.extended};
  }
  return {};
}

int ModifierFlags(int sdlMods) {
  int flags = 0;
  if (sdlMods & KMOD_SHIFT) flags |= kModShift;
  if (sdlMods & KMOD_LCTRL) flags |= kModLeftCtrl;
  if (sdlMods & KMOD_RCTRL) flags |= kModRightCtrl;
  if (sdlMods & KMOD_LALT) flags |= kModLeftAlt;
  if (sdlMods & (KMOD_RALT | KMOD_MODE)) flags |= kModRightAlt;
  return flags;
}

int KeyPressCode(int sdlScancode, int sdlKeycode, int sdlMods) {
  if (LeftAltAlone(sdlMods)) return -1;
  const Set1Key key = Set1FromSdl(sdlScancode);
  if (key.scancode < 0) return -1;
  const int control = ControlCharacter(sdlKeycode, sdlMods);
  const int keyCharacter = UnmodifiedCharacter(sdlScancode, sdlKeycode, sdlMods);
  // Printable characters arrive as text events of their own, so a press
  // types a character here only for control keys and keypad digits.
  const bool keypadDigit = keyCharacter >= '0' && keyCharacter <= '9' && sdlScancode >= SDL_SCANCODE_KP_1 &&
                           sdlScancode <= SDL_SCANCODE_KP_0;
  const int character = control != 0 ? control : keypadDigit ? keyCharacter : 0;
  const int flags = ModifierFlags(sdlMods) | (key.extended ? kModExtended : 0);
  const int code = TranslateKey(character, key.scancode, keyCharacter, flags);
  if (code > 255) return code;
  return control != 0 ? control : -1;
}

bool TextCounts(int sdlMods) {
  if (LeftAltAlone(sdlMods)) return false;
  return !((sdlMods & KMOD_CTRL) && !(sdlMods & (KMOD_ALT | KMOD_MODE)));
}

KeyStateMap::KeyStateMap(const std::function<int(int sdlKeycode)>& scancodeForKey) {
  for (const sdlkeys::KeyStateRow& row : sdlkeys::KeyStateTable()) {
    if (row.source == sdlkeys::Source::kLayout) {
      sources_[row.scancode] = {scancodeForKey(row.first), 0};
    } else {
      sources_[row.scancode] = {row.first, row.second};
    }
  }
}

void KeyStateMap::Refresh(const std::uint8_t* sdlState, int sdlKeyCount,
                          std::array<std::uint8_t, 128>& keyState) const {
  auto down = [&](int sdlScancode) {
    return sdlScancode > 0 && sdlScancode < sdlKeyCount && sdlState[sdlScancode];
  };
  for (int i = 0; i < 128; ++i) keyState[i] = down(sources_[i][0]) || down(sources_[i][1]) ? 1 : 0;
}

}  // namespace rt
