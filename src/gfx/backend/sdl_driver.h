#pragma once

#include "gfx/display_driver.h"

namespace rt {

// The window back end on SDL2, named "SDL"; first in the list.
const DriverEntry& SdlDriverEntry();

}  // namespace rt
