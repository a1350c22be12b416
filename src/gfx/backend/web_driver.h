#pragma once

#include "gfx/display_driver.h"

namespace rt {

// The browser back end, named "web": the screen is a <canvas> on the page,
// input comes from the page's events. The only back end of the browser build.
const DriverEntry& WebDriverEntry();

// The program is about to hand the page its turn: a frame it drew since the
// last one the page showed goes to the canvas now, unless the canvas already
// changed in this animation frame.
void ShowFrameBeforeSleep();

}  // namespace rt
