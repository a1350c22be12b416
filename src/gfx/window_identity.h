#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// How the program's windows present themselves to the desktop: the
// application id that docks and compositors match with a desktop entry,
// and the picture shown for the window. Set both before ScreenMode; a
// window already open keeps what it was given.
struct WindowIdentity {
  std::string applicationId;  // empty: the back end's default
  int iconWidth = 0;          // 0: no icon of the program's own
  int iconHeight = 0;
  std::vector<std::uint32_t> iconArgb;  // 0xAARRGGBB, row by row
};

void SetApplicationId(std::string_view id);
// Copies width x height pixels; false (and no change) when the sizes do not
// match the pixels. An empty picture removes the icon.
bool SetWindowIcon(int width, int height, std::span<const std::uint32_t> argbPixels);
const WindowIdentity& CurrentWindowIdentity();

}  // namespace rt
