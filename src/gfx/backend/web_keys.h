#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_translate.h"

// From the browser's key events to the runtime's keys. KeyboardEvent.code
// names a key by its place on the keyboard, whatever the layout, so it maps
// to the set-1 scancode of the PC key in that place; KeyboardEvent.key
// carries the character the press types. Plain C++, so that the tables can
// be tested outside a browser.
namespace rt {

// The modifier bits the page sends with a key press: KeyboardEvent's
// shiftKey, ctrlKey, altKey, metaKey and getModifierState("AltGraph").
inline constexpr int kWebShift = 1;
inline constexpr int kWebCtrl = 2;
inline constexpr int kWebAlt = 4;
inline constexpr int kWebMeta = 8;
inline constexpr int kWebAltGraph = 16;

// The set-1 make code of the key at KeyboardEvent.code's place.
Set1Key Set1FromCode(std::string_view code);

// What one key press gives the key queue.
struct WebKeyPress {
  int code = -1;     // a code to post by itself (extended or control), -1 for none
  std::string text;  // UTF-8 text the press types, to post as code page 437
};

// The keys held on the page and what their presses post.
class WebKeyboard {
 public:
  // A press of the key at `code` typing `key` (KeyboardEvent.key) with the
  // modifier bits above.
  WebKeyPress Press(std::string_view code, std::string_view key, int modifiers);
  void Release(std::string_view code);
  // The page lost the focus: every key reads as up.
  void ReleaseAll() { held_.clear(); }
  // keyState[i] = 1 while a key of row i of the key-state table is held.
  void Fill(std::array<std::uint8_t, 128>& keyState) const;

 private:
  bool Held(std::string_view code) const;
  // TranslateKey's flags: which Ctrl and Alt is told by the held keys.
  int TranslateFlags(int modifiers) const;

  std::vector<std::string> held_;
};

}  // namespace rt
