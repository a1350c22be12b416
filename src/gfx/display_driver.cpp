#include "gfx/display_driver.h"

#include <strings.h>

#include <cstdlib>

namespace rt {

namespace {

std::vector<DriverEntry> replacement;

bool SameName(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

// Each back end gets two tries: the requested refresh rate, then refresh 0.
std::unique_ptr<DisplayDriver> TryEntry(const DriverEntry& entry, ScreenState& screen, const char* title,
                                        int width, int windowHeight, int depth, int refresh, int flags) {
  for (int rate : {refresh, 0}) {
    auto driver = entry.create();
    if (driver && driver->Init(screen, title, width, windowHeight, depth, rate, flags) == 0) return driver;
  }
  return nullptr;
}

}  // namespace

std::span<const DriverEntry> DriverList() {
  if (!replacement.empty()) return replacement;
  return ProductDrivers();
}

void SetDriverList(std::vector<DriverEntry> list) { replacement = std::move(list); }

std::unique_ptr<DisplayDriver> OpenDisplayDriver(ScreenState& screen, const char* title, int width,
                                                 int windowHeight, int depth, int refresh, int flags) {
  const char* override = std::getenv(kDriverOverrideVariable);
  if (flags == -1 || (override && SameName(override, NullDriverEntry().name))) {
    return TryEntry(NullDriverEntry(), screen, title, width, windowHeight, depth, refresh, 0);
  }

  const DriverEntry* named = nullptr;
  if (override && *override) {
    for (const DriverEntry& entry : DriverList()) {
      if (SameName(override, entry.name)) named = &entry;
    }
  }

  auto tryAll = [&](int passFlags) -> std::unique_ptr<DisplayDriver> {
    for (const DriverEntry& entry : DriverList()) {
      if (auto d = TryEntry(entry, screen, title, width, windowHeight, depth, refresh, passFlags)) return d;
    }
    return nullptr;
  };

  if (!named) {
    if (auto d = tryAll(flags)) return d;
    return tryAll(flags ^ kFlagFullScreen);
  }
  // An override alternates between the named back end and the whole list,
  // four passes in all, inverting full screen after the second.
  for (int pass = 0; pass < 4; ++pass) {
    const int passFlags = pass < 2 ? flags : flags ^ kFlagFullScreen;
    auto d = pass % 2 == 0 ? TryEntry(*named, screen, title, width, windowHeight, depth, refresh, passFlags)
                           : tryAll(passFlags);
    if (d) return d;
  }
  return nullptr;
}

}  // namespace rt
