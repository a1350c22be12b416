#include "input/mouse.h"

#include <algorithm>

#include "gfx/screen_state.h"
#include "input/mouse_state.h"
#include "rt/result.h"

namespace rt {

namespace {

Result Fail(int* x, int* y, int* wheel, int* buttons, int* clipped) {
  for (int* out : {x, y, wheel, buttons, clipped}) {
    if (out) *out = -1;
  }
  return ResultIllegalCall;
}

}  // namespace

MouseState& TheMouse() {
  static MouseState mouse;
  return mouse;
}

Result ReadMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) {
  const MouseState& m = TheMouse();
  if (!m.windowActive || !m.pointerInside) return Fail(x, y, wheel, buttons, clipped);
  if (x) *x = m.pointerX;
  if (y) *y = m.pointerY;
  if (wheel) *wheel = m.wheel;
  if (buttons) *buttons = m.buttons;
  if (clipped) *clipped = m.pointerClipped ? 1 : 0;
  return ResultOk;
}

MouseChange ApplySetMouse(int x, int y, int visibility, int clip, int width, int height) {
  MouseState& m = TheMouse();
  MouseChange change;
  if (x != kKeepCurrent || y != kKeepCurrent) {
    if (x == kKeepCurrent) x = m.pointerX;
    if (y == kKeepCurrent) y = m.pointerY;
    m.pointerX = std::clamp(x, 0, std::max(width - 1, 0));
    m.pointerY = std::clamp(y, 0, std::max(height - 1, 0));
    m.pointerInside = true;
    change.moved = true;
  }
  if (visibility >= 0 && (visibility > 0) != m.pointerVisible) {
    m.pointerVisible = visibility > 0;
    change.visibilityChanged = true;
  }
  if (clip >= 0) {
    m.pointerClipped = clip > 0;
    change.clipChanged = true;
  }
  return change;
}

void ResetMouse() { TheMouse() = MouseState{}; }

void MouseFocus(bool active) {
  MouseState& m = TheMouse();
  m.windowActive = active;
  m.buttons = 0;
}

void MouseWheelStep(double delta) {
  if (delta == 0) return;
  TheMouse().wheel += delta > 0 ? 1 : -1;
}

Result GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) {
  ScreenState* s = Screen();
  if (!s) return SetLastResult(Fail(x, y, wheel, buttons, clipped));
  ScreenLock();
  const Result result = s->driver->GetMouse(x, y, wheel, buttons, clipped);
  ScreenUnlock(1, 0);
  return SetLastResult(result);
}

Result SetMouse(int x, int y, int visibility, int clip) {
  ScreenState* s = Screen();
  if (!s) return SetLastResult(ResultIllegalCall);
  ScreenLock();
  const Result result = s->driver->SetMouse(x, y, visibility, clip);
  ScreenUnlock(1, 0);
  return SetLastResult(result);
}

}  // namespace rt
