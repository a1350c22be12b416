// The line editor on arbitrary key sequences, on screens with different
// console grids. The input: a byte choosing the screen, the row and column
// where the prompt starts, the prompt's length and bytes, then one key per
// byte (see KeyOf); Enter follows when the bytes run out. The typed line
// must hold only printable bytes, and the text cursor must stay on the grid.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "input/clock.h"
#include "input/key_queue.h"
#include "input/line_input.h"
#include "support/scripted_driver.h"

namespace rt::fuzz {
namespace {

struct ScreenShape {
  int mode;
  int depth;
};
// The game's screen (80 x 30 cells), a 40 x 25 one and one of 64 x 24.
constexpr std::array<ScreenShape, 3> kScreens = {{{18, 32}, {13, 8}, {16, 16}}};

// Bytes below 0xF0 are typed as they are (Enter, Backspace, Tab and Esc
// among them); the others are the extended keys the editor knows, the
// close button, and any extended key named by the next byte.
int KeyOf(std::uint8_t b, FuzzInput& input) {
  static constexpr std::array<int, 8> kExtended = {0x47FF, 0x48FF, 0x4BFF, 0x4DFF,
                                                   0x4FFF, 0x50FF, 0x53FF, kKeyClose};
  if (b < 0xF0) return b;
  if (b - 0xF0 < int(kExtended.size())) return kExtended[b - 0xF0];
  return (input.Byte() << 8) | 0xFF;
}

void OpenScreen(const ScreenShape& shape) {
  if (Screen() && Screen()->mode == shape.mode) return;
  SetDriverList({test::ScriptedDriver::Entry()});
  FuzzCheck(ScreenMode(shape.mode, shape.depth, 1, 0, 0) == rt::ResultOk, "the scripted screen did not open");
}

}  // namespace
}  // namespace rt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt;
  using namespace rt::fuzz;
  FuzzInput input(data, size);
  OpenScreen(kScreens[input.Byte() % kScreens.size()]);
  TheKeyQueue().Clear();
  Cls();
  const int row = input.Byte(), column = input.Byte();
  Locate(row % (Screen()->textRows + 2), column % (Screen()->textColumns + 2));
  const std::string prompt(input.Take(input.Byte()));

  // A key each time the editor waits, Enter once the input is used up.
  VirtualClock clock;
  clock.onSleep = [&](int) {
    test::ScriptedDriver::Current()->Type(input.Empty() ? 13 : KeyOf(input.Byte(), input));
  };
  SetClock(&clock);
  const std::string line = InputLine(prompt, row & 1, column & 1);
  SetClock(nullptr);

  for (char c : line) FuzzCheck(static_cast<unsigned char>(c) >= 32, "the typed line holds a control byte");
  const TextState& text = Screen()->text;
  FuzzCheck(text.cursorRow >= 0 && text.cursorRow < Screen()->textRows,
            "the text cursor left the grid's rows");
  FuzzCheck(text.cursorColumn >= 0 && text.cursorColumn < Screen()->textColumns,
            "the text cursor left the grid's columns");
  FuzzCheck(Screen()->lockCount == 0, "the editor left the screen locked");
  return 0;
}
