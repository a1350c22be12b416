#pragma once

#include "pictures/canvas.h"

// The two full-screen pictures: the title picture behind the menu and every
// notice, and the night landscape behind a round and the instructions. White
// text is drawn straight onto both, so their upper parts stay dark.
namespace pictures {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

// The ground color of a row near the catcher's line. It depends on the row
// only, so the opaque catcher sprite can carry it in its corners and blend in
// wherever it stands.
Rgba GroundColor(double y);

Canvas DrawBackground();
Canvas DrawIntro();

}  // namespace pictures
