#include <vector>

#include "gfx/display_driver.h"
#if MORVANTA_SDL
#include "gfx/backend/sdl_driver.h"
#endif
#if MORVANTA_WEB
#include "gfx/backend/web_driver.h"
#endif

namespace rt {

// The window back ends this build has, best first. The null back end is not
// among them: it is chosen only by name.
std::span<const DriverEntry> ProductDrivers() {
  static const std::vector<DriverEntry> list = {
#if MORVANTA_SDL
    SdlDriverEntry(),
#endif
#if MORVANTA_WEB
    WebDriverEntry(),
#endif
  };
  return list;
}

}  // namespace rt
