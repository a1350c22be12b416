// The web back end's side of the keyboard: the browser's key events (by
// KeyboardEvent.code and .key) to the codes and text a press posts, and the
// held keys to the key-state table.
#include "gfx/backend/web_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rt {
namespace {

TEST(Set1FromCode, KeysMapByTheirPlaceOnTheKeyboard) {
  struct Case {
    const char* code;
    int scancode;
    bool extended;
  };
  for (const Case& c : std::vector<Case>{{"Escape", 1, false},
                                         {"KeyS", 31, false},
                                         {"KeyZ", 44, false},         // types y on a German keyboard
                                         {"BracketLeft", 26, false},  // ü there
                                         {"Space", 57, false},
                                         {"F1", 59, false},
                                         {"Numpad4", 75, false},
                                         {"ArrowLeft", 75, true},
                                         {"NumpadEnter", 28, true},
                                         {"AltRight", 56, true},
                                         {"IntlBackslash", 86, false},
                                         {"Fn", -1, false},
                                         {"", -1, false}}) {
    const Set1Key key = Set1FromCode(c.code);
    EXPECT_EQ(key.scancode, c.scancode) << c.code;
    EXPECT_EQ(key.extended, c.extended) << c.code;
  }
}

struct PressCase {
  const char* code;
  const char* key;
  int modifiers;
  int posted;        // the code posted by itself, -1 for none
  const char* text;  // what it types
};

TEST(WebKeyboard, PressesPostTheirCodesAndTypeTheirText) {
  const std::vector<PressCase> cases{
      // Navigation and function keys post extended codes.
      {"ArrowLeft", "ArrowLeft", 0, 0x4BFF, ""},
      {"Delete", "Delete", 0, 0x53FF, ""},
      {"F1", "F1", 0, 0x3BFF, ""},
      {"F12", "F12", kWebShift, 0x88FF, ""},
      // The keypad navigates without Num Lock and types digits with it.
      {"Numpad4", "ArrowLeft", 0, 0x4BFF, ""},
      {"Numpad4", "4", 0, -1, "4"},
      {"NumpadDecimal", ",", 0, -1, ","},
      // Control keys post their characters.
      {"Enter", "Enter", 0, 13, ""},
      {"NumpadEnter", "Enter", 0, 13, ""},
      {"Enter", "Enter", kWebCtrl, 10, ""},
      {"Backspace", "Backspace", 0, 8, ""},
      {"Tab", "Tab", 0, 9, ""},
      {"Tab", "Tab", kWebShift, 0x0FFF, ""},
      {"Escape", "Escape", 0, 27, ""},
      {"KeyQ", "a", kWebCtrl, 1, ""},  // the layout's letter counts
      // Printable keys type their text, umlauts and AltGr's characters too.
      {"KeyA", "a", 0, -1, "a"},
      {"KeyA", "A", kWebShift, -1, "A"},
      {"Space", " ", 0, -1, " "},
      {"BracketLeft", "\xC3\xBC", 0, -1, "\xC3\xBC"},
      {"KeyQ", "@", kWebAltGraph, -1, "@"},
      {"KeyQ", "@", kWebCtrl | kWebAlt | kWebAltGraph, -1, "@"},
      // The left Alt, Ctrl and the system key make commands, not text.
      {"F4", "F4", kWebAlt, -1, ""},
      {"KeyA", "a", kWebAlt, -1, ""},
      {"KeyC", "c", kWebCtrl, 3, ""},
      {"KeyA", "a", kWebMeta, -1, ""},
      // Nothing for keys no PC keyboard has, nor for a dead key.
      {"Fn", "Fn", 0, -1, ""},
      {"BracketRight", "Dead", 0, -1, ""},
  };
  for (const PressCase& c : cases) {
    WebKeyboard keyboard;
    const WebKeyPress press = keyboard.Press(c.code, c.key, c.modifiers);
    EXPECT_EQ(press.code, c.posted) << c.code << " " << c.key;
    EXPECT_EQ(press.text, c.text) << c.code << " " << c.key;
  }
}

TEST(WebKeyboard, HeldRightAltOrCtrlChoosesTheirColumns) {
  WebKeyboard keyboard;
  keyboard.Press("AltRight", "AltGraph", kWebAltGraph);
  EXPECT_EQ(keyboard.Press("ArrowLeft", "ArrowLeft", kWebAlt).code, 0x9BFF);
  keyboard.ReleaseAll();
  keyboard.Press("ControlRight", "Control", kWebCtrl);
  EXPECT_EQ(keyboard.Press("ArrowUp", "ArrowUp", kWebCtrl).code, 0x8DFF);
}

class WebKeyStateTest : public ::testing::Test {
 protected:
  std::array<std::uint8_t, 128> State() {
    std::array<std::uint8_t, 128> state;
    state.fill(7);
    keyboard.Fill(state);
    return state;
  }
  std::vector<int> HeldScancodes() {
    std::vector<int> held;
    const auto state = State();
    for (int i = 0; i < 128; ++i) {
      if (state[i]) held.push_back(i);
    }
    return held;
  }
  WebKeyboard keyboard;
};

TEST_F(WebKeyStateTest, KeysHoldTheirRowsUntilReleased) {
  struct Case {
    const char* code;
    std::vector<int> held;
  };
  for (const Case& c : std::vector<Case>{{"KeyS", {31}},
                                         {"ShiftRight", {42, 54}},  // either Shift holds both
                                         {"Numpad4", {75}},
                                         {"ArrowLeft", {75}},
                                         {"ControlRight", {29}},
                                         {"NumpadSubtract", {12}},  // 74 has no row
                                         {"PrintScreen", {}},       // 55 is the keypad's * alone
                                         {"IntlBackslash", {}},
                                         {"MetaLeft", {91}}}) {
    keyboard.Press(c.code, "", 0);
    EXPECT_EQ(HeldScancodes(), c.held) << c.code;
    keyboard.Release(c.code);
    EXPECT_EQ(HeldScancodes(), std::vector<int>{}) << c.code;
  }
}

TEST_F(WebKeyStateTest, TwinsHoldTheirRowUntilBothAreUpAndFocusLossReleasesAll) {
  keyboard.Press("ArrowLeft", "ArrowLeft", 0);
  keyboard.Press("Numpad4", "ArrowLeft", 0);
  keyboard.Press("Space", " ", 0);
  keyboard.Release("ArrowLeft");
  EXPECT_EQ(HeldScancodes(), (std::vector<int>{57, 75}));
  keyboard.ReleaseAll();
  EXPECT_EQ(HeldScancodes(), std::vector<int>{});
}

}  // namespace
}  // namespace rt
