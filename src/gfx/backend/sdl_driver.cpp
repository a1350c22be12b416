#include "gfx/backend/sdl_driver.h"

namespace rt {

namespace {
// Not built yet: the window back end fails to open, so the list falls back.
std::unique_ptr<DisplayDriver> CreateSdl() { return nullptr; }
const DriverEntry kSdlEntry{"SDL", &CreateSdl};
}  // namespace

const DriverEntry& SdlDriverEntry() { return kSdlEntry; }

}  // namespace rt
