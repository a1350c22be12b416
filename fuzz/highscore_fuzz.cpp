// The game-over and highscore screens reading an arbitrary "game.hsc". The
// input: a flags byte (bit 0: a game ends first, on the game-over screen),
// that game's points and stones, the file's length (2 bytes) and bytes,
// then one step per sleep of the program (see Step): typed keys for the
// name, held keys for the highscore view. Once the steps run out, Esc is
// held, and long waits are woken with Space and Enter. Whatever the file
// held, the screens must end (a stall throws, which ends the run as a crash
// does), and once they have written "game.hsc" it must hold one record line.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/scancodes.h"
#include "game/shell/shell.h"
#include "gfx/screen_state.h"
#include "rt/file_channels.h"
#include "support/scenario.h"

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
  game::test::Scenario scenario;
  scenario.WakeLongWaits();
  game::Shell& shell = scenario.TheShell();
  const bool gameEnds = input.Byte() & 1;
  shell.state.points = input.I32();
  shell.state.stones = input.I32();
  const std::string before(input.Take(input.U16() % 1024));
  rt::fuzz::WriteScratchFile(shell.highscoreFilePath, before);
  scenario.OnSleep([&](int) { Step(scenario.Driver(), input); });

  if (gameEnds) game::GameOver(shell);
  CheckWritten(shell.highscoreFilePath, before);
  scenario.Progress();
  game::ShowHighscore(shell);
  CheckWritten(shell.highscoreFilePath, before);
  FuzzCheck(rt::Screen()->lockCount == 0, "a screen left the lock held");
  FuzzCheck(rt::FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
