// The game-over and highscore screens reading an arbitrary "game.hsc". The
// input: a flags byte (bit 0: a game ends first, on the game-over screen),
// that game's points and stones, the file's length (2 bytes) and bytes,
// then one step per sleep of the program (see Step): typed keys for the
// name, held keys for the highscore view. Once the steps run out, Esc is
// held. Whatever the file held, the screens must end, and once they have
// written "game.hsc" it must hold one record line.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/assets.h"
#include "game/scancodes.h"
#include "game/shell.h"
#include "game_harness.h"
#include "gfx/screen_state.h"
#include "rt/file_channels.h"

namespace game::fuzz {
namespace {

using rt::fuzz::FuzzCheck;
using rt::fuzz::FuzzInput;

// Bytes below 0xF0 are typed; 0xF0 to 0xF2 hold Space, Esc or Delete; the
// rest let every key go.
void Step(rt::test::ScriptedDriver& driver, FuzzInput& script) {
  if (script.Empty()) return driver.HoldKey(scancode::kEsc, true);
  const std::uint8_t b = script.Byte();
  if (b < 0xF0) return driver.Type(b);
  switch (b) {
    case 0xF0: return driver.HoldKey(scancode::kSpace, true);
    case 0xF1: return driver.HoldKey(scancode::kEsc, true);
    case 0xF2: return driver.HoldKey(scancode::kDelete, true);
    default: return driver.ReleaseAllKeys();
  }
}

void CheckWritten(const std::string& path, const std::string& before) {
  const std::string bytes = rt::fuzz::ReadWholeFile(path);
  if (bytes == before) return;
  FuzzCheck(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0,
            "game.hsc does not end its record");
  FuzzCheck(bytes.find_first_of("\r\n") == bytes.size() - 2, "game.hsc holds more than one line");
}

}  // namespace
}  // namespace game::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace game::fuzz;
  FuzzInput input(data, size);
  GameHarness& harness = GameHarness::Fresh();
  game::Shell shell;
  shell.saveFilePath = "game.sav";
  shell.highscoreFilePath = "game.hsc";
  const bool gameEnds = input.Byte() & 1;
  shell.state.points = input.I32();
  shell.state.stones = input.I32();
  const std::string before(input.Take(input.U16() % 1024));
  rt::fuzz::WriteScratchFile("game.hsc", before);
  harness.OnSleep([&](int) { Step(harness.Driver(), input); });

  if (gameEnds) game::GameOver(shell);
  CheckWritten("game.hsc", before);
  harness.Progress();
  game::ShowHighscore(shell);
  CheckWritten("game.hsc", before);
  FuzzCheck(rt::Screen()->lockCount == 0, "a screen left the lock held");
  FuzzCheck(rt::FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
