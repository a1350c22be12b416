#include "game/desktop_identity.h"

#include "game/app_icon.h"
#include "gfx/window_identity.h"

namespace game {

// The build system names the id once, for these sources and the installed files.
std::string_view ApplicationId() { return MORVANTA_APPLICATION_ID; }

void IntroduceToDesktop() {
  rt::SetApplicationId(ApplicationId());
  const IconPixels icon = AppIcon();
  rt::SetWindowIcon(kIconSize, kIconSize, icon);
}

}  // namespace game
