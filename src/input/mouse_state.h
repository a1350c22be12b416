#pragma once

#include "rt/result.h"

// The mouse as the back ends feed it: the state GetMouse reads and the rules
// every back end shares. Everything here runs with the screen lock held.
namespace rt {

// The pointer as the window reports it, in client pixels (which are screen
// pixels). One per process; written by the display side and read by the
// program, always under the screen lock.
struct MouseState {
  int pointerX = 0, pointerY = 0, wheel = 0, buttons = 0;
  bool pointerInside = false, pointerVisible = true, pointerClipped = false, windowActive = false;
};

MouseState& TheMouse();

// What a SetMouse changed, for the back end to carry out on the platform.
struct MouseChange {
  bool moved = false;
  bool visibilityChanged = false;
  bool clipChanged = false;
};

// The GetMouse rules over TheMouse(); returns the result without recording it.
Result ReadMouse(int* x, int* y, int* wheel, int* buttons, int* clipped);
// The SetMouse rules over TheMouse() for a screen of width x height.
MouseChange ApplySetMouse(int x, int y, int visibility, int clip, int width, int height);
// A new window: wheel 0, no buttons, pointer visible and free, not inside, inactive.
void ResetMouse();
// The window gained or lost the focus; either way every button reads as up.
void MouseFocus(bool active);
// One wheel event, one step whatever its size: +1 away from the user.
void MouseWheelStep(double delta);

}  // namespace rt
