#include "gfx/window_identity.h"

namespace rt {

namespace {

// Set by the main thread before a screen opens, read by the back end while
// it opens one.
WindowIdentity identity;

}  // namespace

void SetApplicationId(std::string_view id) { identity.applicationId = id; }

bool SetWindowIcon(int width, int height, std::span<const std::uint32_t> argbPixels) {
  if (width < 0 || height < 0 || std::size_t(width) * std::size_t(height) != argbPixels.size()) return false;
  identity.iconWidth = argbPixels.empty() ? 0 : width;
  identity.iconHeight = argbPixels.empty() ? 0 : height;
  identity.iconArgb.assign(argbPixels.begin(), argbPixels.end());
  return true;
}

const WindowIdentity& CurrentWindowIdentity() { return identity; }

}  // namespace rt
