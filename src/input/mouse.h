#pragma once

#include <climits>

#include "rt/result.h"

namespace rt {

// Button bits as GetMouse reports them.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonMiddle = 4;
inline constexpr int kButtonExtra1 = 8;
inline constexpr int kButtonExtra2 = 16;

// A SetMouse coordinate that keeps the current one.
inline constexpr int kKeepCurrent = INT_MIN;

// Stores the pointer position, wheel counter, buttons and clipping (0 or 1)
// and returns ResultOk; with no screen, an inactive window or the pointer
// outside it, stores -1 in every given output and returns ResultIllegalCall.
// wheel, buttons and clipped may be null. Records the result.
Result GetMouse(int* x, int* y, int* wheel = nullptr, int* buttons = nullptr, int* clipped = nullptr);
// Moves the pointer (clamped to the screen; kKeepCurrent keeps a coordinate,
// both kKeepCurrent keep the position), shows it (visibility > 0) or hides it
// over the window (0), confines it to the window (clip > 0) or frees it (0);
// negative visibility or clip leave that setting. ResultIllegalCall with no
// screen open, ResultOk otherwise. Records the result.
Result SetMouse(int x, int y, int visibility = -1, int clip = -1);

}  // namespace rt
