// A parked game loaded from an arbitrary "game.sav", then up to 300 frames
// of the round with scripted input, on the virtual clock. The input: a flags
// byte (bit 0: a new game ran earlier in this run, which sets the frame
// pause), the save file's length (2 bytes) and bytes, then one byte of input
// per frame (see ApplyFrameInput). Besides memory errors and undefined
// behaviour, the round must end every frame, release the screen lock and
// leave no file number in use.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/assets.h"
#include "game/game_state.h"
#include "game/round.h"
#include "game/scancodes.h"
#include "game_harness.h"
#include "gfx/screen.h"
#include "rt/file_channels.h"

namespace game::fuzz {
namespace {

using rt::fuzz::FuzzCheck;
using rt::fuzz::FuzzInput;

constexpr int kFrames = 300;

// Bits 0-3 hold Left, Right, Down and P for the frame; bits 4-5 are nothing,
// S held, the close button or Esc held; bit 6 toggles the left button; bit 7
// moves the pointer and turns the wheel by the next three bytes.
void ApplyFrameInput(GameHarness& harness, FuzzInput& script, bool& buttonDown) {
  rt::test::ScriptedDriver& driver = harness.Driver();
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

// As the menu's load does: eight integers from "game.sav" on file number 1;
// a first item of 0 means nothing is parked.
bool LoadParkedGame(GameState& state) {
  rt::FileOpen("game.sav", rt::FileModeInput, 1);
  rt::FileInputBegin(1);
  for (int* field : {&state.objectY, &state.catcherX, &state.points, &state.level, &state.stones,
                     &state.objectKind, &state.lives, &state.objectX}) {
    rt::FileInputInt(*field);
  }
  rt::FileClose(1);
  if (state.objectY == 0) return false;
  PrepareObject(state);
  return true;
}

}  // namespace
}  // namespace game::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace game::fuzz;
  FuzzInput input(data, size);
  GameHarness& harness = GameHarness::Fresh();
  game::GameState state;
  state.catcherImage = game::LoadBitmapAsset(game::kCatcherPicture);
  if (input.Byte() & 1) state.frameDelay = 4;
  rt::fuzz::WriteScratchFile("game.sav", input.Take(input.U16() % 1024));

  if (LoadParkedGame(state)) {
    int frame = 0;
    bool buttonDown = false;
    game::SetFrameHook([&](game::GameState&) {
      harness.Progress();
      if (frame++ == kFrames) return false;
      ApplyFrameInput(harness, input, buttonDown);
      return true;
    });
    game::GameLoop(state);
    game::SetFrameHook(nullptr);
  }
  FuzzCheck(rt::Screen()->lockCount == 0, "the round left the screen locked");
  FuzzCheck(rt::FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
