#include "game/round/catcher.h"

#include "game/controls.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "input/mouse.h"

namespace game {

namespace {

constexpr int kLeftButtonAlone = 1;

}  // namespace

// On the first frame of a drag the catcher jumps to the pointer while the
// pointer is put onto the catcher's old place; from the next frame on the
// catcher follows the pointer from there. The pointer is put back onto the
// catcher whenever another message has replaced the drag message.
void SteerByMouse(GameState& state) {
  state.previousWheel = state.mouseWheel;
  int x = 0, y = 0, wheel = 0, buttons = 0, clipped = 0;
  rt::GetMouse(&x, &y, &wheel, &buttons, &clipped);
  state.mouseX = x;
  state.mouseWheel = wheel;
  state.mouseButtons = buttons;
  if (state.mouseButtons == kLeftButtonAlone) {
    if (state.message != text::kMouseControlOn) rt::SetMouse(state.catcherX, kCatcherY, 0, -1);
    state.catcherX = state.mouseX;
    state.mouseControl = 1;
    state.message = text::kMouseControlOn;
  }
  if (state.mouseControl == 1 && state.mouseButtons == 0) {
    state.message = text::kMouseControlOff;
    state.mouseControl = 0;
  }
}

void SteerByKeys(GameState& state) {
  if (Held(scancode::kLeft)) state.catcherX -= 1;
  if (Held(scancode::kRight)) state.catcherX += 1;
}

void ClampCatcher(GameState& state) {
  if (state.catcherX < 0) state.catcherX = 1;
  if (state.catcherX > 601) state.catcherX = 600;
}

}  // namespace game
