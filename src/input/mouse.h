#pragma once

#include <climits>

namespace rt {

// The pointer as the window reports it, in client pixels (which are screen
// pixels). One per process; written by the display side and read by the
// program, always under the screen lock.
struct MouseState {
  int pointerX = 0, pointerY = 0, wheel = 0, buttons = 0;
  bool pointerInside = false, pointerVisible = true, pointerClipped = false, windowActive = false;
};

// Button bits as GetMouse reports them.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonMiddle = 4;
inline constexpr int kButtonExtra1 = 8;
inline constexpr int kButtonExtra2 = 16;

MouseState& TheMouse();

// A SetMouse coordinate that keeps the current one.
inline constexpr int kKeepCurrent = INT_MIN;

// Stores the pointer position, wheel counter, buttons and clipping (0 or 1)
// and returns ResultOk; with no screen, an inactive window or the pointer
// outside it, stores -1 in every given output and returns ResultIllegalCall.
// wheel, buttons and clipped may be null. Records the result.
int GetMouse(int* x, int* y, int* wheel = nullptr, int* buttons = nullptr, int* clipped = nullptr);
// Moves the pointer (clamped to the screen; kKeepCurrent keeps a coordinate,
// both kKeepCurrent keep the position), shows it (visibility > 0) or hides it
// over the window (0), confines it to the window (clip > 0) or frees it (0);
// negative visibility or clip leave that setting. ResultIllegalCall with no
// screen open, ResultOk otherwise. Records the result.
int SetMouse(int x, int y, int visibility = -1, int clip = -1);

// ---- Back-end side: the rules every back end shares, lock held. ----

// What a SetMouse changed, for the back end to carry out on the platform.
struct MouseChange {
  bool moved = false;
  bool visibilityChanged = false;
  bool clipChanged = false;
};

// The GetMouse rules over TheMouse(); returns the result without recording it.
int ReadMouse(int* x, int* y, int* wheel, int* buttons, int* clipped);
// The SetMouse rules over TheMouse() for a screen of width x height.
MouseChange ApplySetMouse(int x, int y, int visibility, int clip, int width, int height);
// A new window: wheel 0, no buttons, pointer visible and free, not inside, inactive.
void ResetMouse();
// The window gained or lost the focus; either way every button reads as up.
void MouseFocus(bool active);
// One wheel event, one step whatever its size: +1 away from the user.
void MouseWheelStep(double delta);

}  // namespace rt
