// A parked game loaded by the menu's load from an arbitrary "game.sav", then
// up to 300 frames of the round with scripted input and, if the game ends,
// the game-over screen; all on the virtual clock. The input: a flags
// byte (bit 0: a new game ran earlier in this run, which sets the frame
// pause), the save file's length (2 bytes) and bytes, then one byte of input
// per frame (see ApplyFrameInput). Besides memory errors and undefined
// behaviour, the round must end every frame (a stall throws, which ends the
// run as a crash does), release the screen lock and leave no file number in
// use. Long waits are woken as a player would, with Space and Enter.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/game_state.h"
#include "game/scancodes.h"
#include "game/shell/shell.h"
#include "gfx/screen_state.h"
#include "rt/file_channels.h"
#include "support/scenario.h"

namespace game::fuzz {
namespace {

using rt::fuzz::FuzzCheck;
using rt::fuzz::FuzzInput;

constexpr int kFrames = 300;

// Bits 0-3 hold Left, Right, Down and P for the frame; bits 4-5 are nothing,
// S held, the close button or Esc held; bit 6 toggles the left button; bit 7
// moves the pointer and turns the wheel by the next three bytes.
void ApplyFrameInput(rt::test::ScriptedDriver& driver, FuzzInput& script, bool& buttonDown) {
  const std::uint8_t b = script.Byte();
  driver.HoldKey(scancode::kLeft, b & 1);
  driver.HoldKey(scancode::kRight, b & 2);
  driver.HoldKey(scancode::kDown, b & 4);
  driver.HoldKey(scancode::kP, b & 8);
  const int extra = (b >> 4) & 3;
  driver.HoldKey(scancode::kS, extra == 1);
  if (extra == 2) driver.CloseButton();
  driver.HoldKey(scancode::kEsc, extra == 3);
  if (b & 0x40) {
    buttonDown = !buttonDown;
    buttonDown ? driver.PressButtons(1) : driver.ReleaseButtons(1);
  }
  if (b & 0x80) {
    driver.MovePointer(script.Byte() * 640 / 256, script.Byte() * 480 / 256);
    driver.TurnWheel(static_cast<std::int8_t>(script.Byte()) % 4);
  }
}

}  // namespace
}  // namespace game::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace game::fuzz;
  FuzzInput input(data, size);
  game::test::Scenario scenario;
  scenario.WakeLongWaits();
  game::Shell& shell = scenario.TheShell();
  if (input.Byte() & 1) shell.state.frameDelay = 4;
  rt::fuzz::WriteScratchFile(shell.saveFilePath, input.Take(input.U16() % 1024));

  if (game::LoadGame(shell) == game::NextScreen::Round) {
    bool buttonDown = false;
    scenario.EachFrame([&](game::GameState&) { ApplyFrameInput(scenario.Driver(), input, buttonDown); });
    if (scenario.RunFrames(kFrames) == game::NextScreen::GameOver) game::GameOver(shell);
  }
  FuzzCheck(rt::Screen()->lockCount == 0, "the round left the screen locked");
  FuzzCheck(rt::FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
