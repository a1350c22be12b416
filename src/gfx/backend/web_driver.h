#pragma once

#include "gfx/display_driver.h"

namespace rt {

// The browser back end, named "web": the screen is a <canvas> on the page,
// input comes from the page's events. The only back end of the browser build.
const DriverEntry& WebDriverEntry();

}  // namespace rt
