#include "gfx/backend/web_keys.h"

#include <algorithm>

#include "input/key_codes.h"
#include "rt/codepage.h"

namespace rt {

namespace {

struct Set1Row {
  std::string_view code;
  std::uint8_t scancode;
  bool extended;
};

// clang-format off
constexpr Set1Row kSet1[] = {
    // KeyboardEvent.code    set-1  extended
    {"Escape",                 1, false},
    {"Digit1",                 2, false},
    {"Digit2",                 3, false},
    {"Digit3",                 4, false},
    {"Digit4",                 5, false},
    {"Digit5",                 6, false},
    {"Digit6",                 7, false},
    {"Digit7",                 8, false},
    {"Digit8",                 9, false},
    {"Digit9",                10, false},
    {"Digit0",                11, false},
    {"Minus",                 12, false},
    {"Equal",                 13, false},
    {"Backspace",             14, false},
    {"Tab",                   15, false},
    {"KeyQ",                  16, false},
    {"KeyW",                  17, false},
    {"KeyE",                  18, false},
    {"KeyR",                  19, false},
    {"KeyT",                  20, false},
    {"KeyY",                  21, false},
    {"KeyU",                  22, false},
    {"KeyI",                  23, false},
    {"KeyO",                  24, false},
    {"KeyP",                  25, false},
    {"BracketLeft",           26, false},
    {"BracketRight",          27, false},
    {"Enter",                 28, false},
    {"ControlLeft",           29, false},
    {"KeyA",                  30, false},
    {"KeyS",                  31, false},
    {"KeyD",                  32, false},
    {"KeyF",                  33, false},
    {"KeyG",                  34, false},
    {"KeyH",                  35, false},
    {"KeyJ",                  36, false},
    {"KeyK",                  37, false},
    {"KeyL",                  38, false},
    {"Semicolon",             39, false},
    {"Quote",                 40, false},
    {"Backquote",             41, false},
    {"ShiftLeft",             42, false},
    {"Backslash",             43, false},
    {"KeyZ",                  44, false},
    {"KeyX",                  45, false},
    {"KeyC",                  46, false},
    {"KeyV",                  47, false},
    {"KeyB",                  48, false},
    {"KeyN",                  49, false},
    {"KeyM",                  50, false},
    {"Comma",                 51, false},
    {"Period",                52, false},
    {"Slash",                 53, false},
    {"ShiftRight",            54, false},
    {"NumpadMultiply",        55, false},
    {"AltLeft",               56, false},
    {"Space",                 57, false},
    {"CapsLock",              58, false},
    {"F1",                    59, false},
    {"F2",                    60, false},
    {"F3",                    61, false},
    {"F4",                    62, false},
    {"F5",                    63, false},
    {"F6",                    64, false},
    {"F7",                    65, false},
    {"F8",                    66, false},
    {"F9",                    67, false},
    {"F10",                   68, false},
    {"NumLock",               69, false},
    {"ScrollLock",            70, false},
    {"Numpad7",               71, false},
    {"Numpad8",               72, false},
    {"Numpad9",               73, false},
    {"NumpadSubtract",        74, false},
    {"Numpad4",               75, false},
    {"Numpad5",               76, false},
    {"Numpad6",               77, false},
    {"NumpadAdd",             78, false},
    {"Numpad1",               79, false},
    {"Numpad2",               80, false},
    {"Numpad3",               81, false},
    {"Numpad0",               82, false},
    {"NumpadDecimal",         83, false},
    {"IntlBackslash",         86, false},
    {"F11",                   87, false},
    {"F12",                   88, false},
    {"NumpadEnter",           28, true},
    {"ControlRight",          29, true},
    {"NumpadDivide",          53, true},
    {"PrintScreen",           55, true},
    {"AltRight",              56, true},
    {"Home",                  71, true},
    {"ArrowUp",               72, true},
    {"PageUp",                73, true},
    {"ArrowLeft",             75, true},
    {"ArrowRight",            77, true},
    {"End",                   79, true},
    {"ArrowDown",             80, true},
    {"PageDown",              81, true},
    {"Insert",                82, true},
    {"Delete",                83, true},
    {"MetaLeft",              91, true},
    {"MetaRight",             92, true},
    {"ContextMenu",           93, true},
};

// The key-state table: a held key holds its own scancode, except in these
// rows, which name the keys that hold them. Either Shift holds both 42 and
// 54, the keypad's navigation keys hold the grey keys' codes, Print Screen
// does not hold the keypad's *, and 74, 76 and 86 have no keys at all.
struct SharedRow {
  std::uint8_t scancode;
  std::string_view first;
  std::string_view second;
};
constexpr SharedRow kShared[] = {
    {12, "Minus",          "NumpadSubtract"},
    {28, "Enter",          "NumpadEnter"},
    {29, "ControlLeft",    "ControlRight"},
    {42, "ShiftLeft",      "ShiftRight"},
    {53, "Slash",          "NumpadDivide"},
    {54, "ShiftLeft",      "ShiftRight"},
    {55, "NumpadMultiply", ""},
    {56, "AltLeft",        "AltRight"},
    {71, "Home",           "Numpad7"},
    {72, "ArrowUp",        "Numpad8"},
    {73, "PageUp",         "Numpad9"},
    {74, "",               ""},
    {75, "ArrowLeft",      "Numpad4"},
    {76, "",               ""},
    {77, "ArrowRight",     "Numpad6"},
    {79, "End",            "Numpad1"},
    {80, "ArrowDown",      "Numpad2"},
    {81, "PageDown",       "Numpad3"},
    {82, "Insert",         "Numpad0"},
    {83, "Delete",         "NumpadDecimal"},
    {86, "",               ""},
};
// clang-format on

// The control character a key types by itself, 0 for others.
int ControlKeyCharacter(std::string_view key) {
  if (key == "Enter") return kKeyEnter;
  if (key == "Backspace") return kKeyBackspace;
  if (key == "Tab") return kKeyTab;
  if (key == "Escape") return kKeyEscape;
  return 0;
}

// The one character `key` holds, or 0 when it names a key ("Enter",
// "Dead", "Unidentified") rather than holding a character.
char32_t SingleCharacter(std::string_view key) {
  std::size_t pos = 0;
  const char32_t c = key.empty() ? 0 : DecodeUtf8(key, pos);
  return pos == key.size() ? c : 0;
}

// The character the key types without modifiers, by its place: letters and
// digits, the keypad's digits only while Num Lock makes them type.
int UnmodifiedCharacter(std::string_view code, char32_t typed) {
  if (code.size() == 4 && code.starts_with("Key")) return code[3] - 'A' + 'a';
  if (code.size() == 6 && code.starts_with("Digit")) return code[5];
  if (code.size() == 7 && code.starts_with("Numpad") && char32_t(code[6]) == typed) return code[6];
  return 0;
}

}  // namespace

Set1Key Set1FromCode(std::string_view code) {
  for (const Set1Row& row : kSet1) {
    if (row.code == code) return {row.scancode, row.extended};
  }
  return {};
}

bool WebKeyboard::Held(std::string_view code) const {
  return !code.empty() && std::find(held_.begin(), held_.end(), code) != held_.end();
}

int WebKeyboard::TranslateFlags(int modifiers) const {
  int flags = 0;
  if (modifiers & kWebShift) flags |= kModShift;
  if (modifiers & kWebCtrl)
    flags |= Held("ControlRight") && !Held("ControlLeft") ? kModRightCtrl : kModLeftCtrl;
  // AltGr is the right Alt; a browser may report it as AltGraph alone.
  if ((modifiers & kWebAltGraph) || Held("AltRight")) {
    flags |= kModRightAlt;
  } else if (modifiers & kWebAlt) {
    flags |= kModLeftAlt;
  }
  return flags;
}

WebKeyPress WebKeyboard::Press(std::string_view code, std::string_view key, int modifiers) {
  if (!Held(code)) held_.emplace_back(code);
  const int flags = TranslateFlags(modifiers);
  WebKeyPress press;
  const Set1Key set1 = Set1FromCode(code);
  // With the left Alt held a press is a command to the window.
  if ((flags & kModLeftAlt) || set1.scancode < 0) return press;

  const bool ctrl = (flags & (kModLeftCtrl | kModRightCtrl)) != 0;
  const char32_t typed = SingleCharacter(key);
  int control = ControlKeyCharacter(key);
  if (control == kKeyEnter && ctrl) control = kKeyCtrlEnter;
  if (ctrl && !(flags & kModRightAlt) && ((typed >= 'a' && typed <= 'z') || (typed >= 'A' && typed <= 'Z'))) {
    control = int(typed | 0x20) - 'a' + 1;
  }
  const int keyCharacter = control != 0 ? ControlKeyCharacter(key) : UnmodifiedCharacter(code, typed);
  const int character = control != 0 ? control : UnicodeToCp437(typed);
  const int translated =
      TranslateKey(character, set1.scancode, keyCharacter, flags | (set1.extended ? kModExtended : 0));
  if (translated > 255) {
    press.code = translated;
  } else if (control != 0) {
    press.code = control;
  } else if (typed != 0 && (!ctrl || (flags & kModRightAlt)) && !(modifiers & kWebMeta)) {
    // Ctrl without AltGr, and the system key, make commands rather than text.
    press.text = key;
  }
  return press;
}

void WebKeyboard::Release(std::string_view code) {
  const auto at = std::find(held_.begin(), held_.end(), code);
  if (at != held_.end()) held_.erase(at);
}

void WebKeyboard::Fill(std::array<std::uint8_t, 128>& keyState) const {
  keyState.fill(0);
  for (const Set1Row& row : kSet1) {
    if (Held(row.code)) keyState[row.scancode] = 1;
  }
  for (const SharedRow& row : kShared) keyState[row.scancode] = Held(row.first) || Held(row.second) ? 1 : 0;
}

}  // namespace rt
