#include <vector>

#include "gfx/backend/sdl_driver.h"
#include "gfx/display_driver.h"

namespace rt {

// The window back ends this build has, best first. The null back end is not
// among them: it is chosen only by name.
std::span<const DriverEntry> ProductDrivers() {
  static const std::vector<DriverEntry> list = {SdlDriverEntry()};
  return list;
}

}  // namespace rt
