// The SDL back end's side of the keyboard: SDL's key events to the codes a
// press posts, and SDL's key state to the key-state table.
#include "gfx/backend/sdl_keys.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace rt {
namespace {

TEST(KeyPressCode, NavigationAndFunctionKeysPostExtendedCodes) {
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_LEFT, SDLK_LEFT, 0), 0x4BFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_DELETE, SDLK_DELETE, 0), 0x53FF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_F1, SDLK_F1, 0), 0x3BFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_F10, SDLK_F10, 0), 0x44FF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_F12, SDLK_F12, KMOD_LSHIFT), 0x88FF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_UP, SDLK_UP, KMOD_RCTRL), 0x8DFF);
}

TEST(KeyPressCode, KeypadDigitsNavigateOnlyWithoutNumLock) {
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_KP_4, SDLK_KP_4, 0), 0x4BFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_KP_5, SDLK_KP_5, 0), 0x4CFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 0), 0x53FF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_KP_4, SDLK_KP_4, KMOD_NUM), -1);  // the digit comes as text
}

TEST(KeyPressCode, ControlKeysPostTheirCharacters) {
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_RETURN, SDLK_RETURN, 0), 13);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0), 13);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LCTRL), 10);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0), 8);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_TAB, SDLK_TAB, 0), 9);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_TAB, SDLK_TAB, KMOD_RSHIFT), 0x0FFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0), 27);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_Q, SDLK_a, KMOD_LCTRL), 1);  // the layout's letter counts
}

TEST(KeyPressCode, PrintableKeysAndLeftAltCombinationsPostNothing) {
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_A, SDLK_a, 0), -1);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_A, SDLK_a, KMOD_RALT), -1);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT), -1);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LALT), -1);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_RALT), 0x9BFF);
  EXPECT_EQ(KeyPressCode(SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 0), -1);
}

TEST(TextCounts, LeftAltAndPlainCtrlMakeCommandsNotText) {
  EXPECT_TRUE(TextCounts(0));
  EXPECT_TRUE(TextCounts(KMOD_LSHIFT | KMOD_CAPS));
  EXPECT_TRUE(TextCounts(KMOD_RALT));
  EXPECT_TRUE(TextCounts(KMOD_LCTRL | KMOD_RALT));
  EXPECT_FALSE(TextCounts(KMOD_LALT));
  EXPECT_FALSE(TextCounts(KMOD_RCTRL));
}

// A German layout: the keys at the US positions of Y and Z type Z and Y.
int GermanScancodeForKey(int keycode) {
  if (keycode == SDLK_y) return SDL_SCANCODE_Z;
  if (keycode == SDLK_z) return SDL_SCANCODE_Y;
  return SDL_SCANCODE_A + (keycode - SDLK_a);
}

class KeyStateMapTest : public ::testing::Test {
 protected:
  std::array<std::uint8_t, 128> Refresh(std::initializer_list<int> held) {
    std::vector<std::uint8_t> sdl(SDL_NUM_SCANCODES, 0);
    for (int sc : held) sdl[sc] = 1;
    std::array<std::uint8_t, 128> state;
    state.fill(7);
    map.Refresh(sdl.data(), int(sdl.size()), state);
    return state;
  }
  KeyStateMap map{GermanScancodeForKey};
};

TEST_F(KeyStateMapTest, LettersFollowTheLayout) {
  auto state = Refresh({SDL_SCANCODE_Z});
  EXPECT_EQ(state[21], 1);  // Y
  EXPECT_EQ(state[44], 0);  // Z
  EXPECT_EQ(Refresh({SDL_SCANCODE_S})[31], 1);
}

TEST_F(KeyStateMapTest, EitherShiftHoldsBoth) {
  for (int shift : {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT}) {
    auto state = Refresh({shift});
    EXPECT_EQ(state[42], 1);
    EXPECT_EQ(state[54], 1);
  }
}

TEST_F(KeyStateMapTest, KeypadAndGreyKeysShareTheirRow) {
  EXPECT_EQ(Refresh({SDL_SCANCODE_KP_4})[75], 1);
  EXPECT_EQ(Refresh({SDL_SCANCODE_LEFT})[75], 1);
  EXPECT_EQ(Refresh({SDL_SCANCODE_KP_PERIOD})[83], 1);
  EXPECT_EQ(Refresh({SDL_SCANCODE_KP_MINUS})[12], 1);
  EXPECT_EQ(Refresh({SDL_SCANCODE_RALT})[56], 1);
  EXPECT_EQ(Refresh({SDL_SCANCODE_KP_ENTER})[28], 1);
}

TEST_F(KeyStateMapTest, ScancodesWithoutARowNeverReadHeld) {
  std::vector<std::uint8_t> all(SDL_NUM_SCANCODES, 1);
  std::array<std::uint8_t, 128> state{};
  map.Refresh(all.data(), int(all.size()), state);
  int held = 0;
  for (int i = 0; i < 128; ++i) held += state[i];
  EXPECT_EQ(held, 86);
  for (int unbound : {0, 74, 76, 84, 85, 86, 89, 90, 94, 127}) EXPECT_EQ(state[unbound], 0) << unbound;
  EXPECT_EQ(Refresh({})[57], 0);
}

}  // namespace
}  // namespace rt
