#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rt/result.h"

// The graphics screen as a program sees it. Its state, the per-thread
// drawing context and what the back ends read live in gfx/screen_state.h,
// which only the runtime and its back ends include.
namespace rt {

// Opens a screen from the mode table. ResultIllegalCall on a bad argument
// (the previous screen stays open) or when no back end opens (no screen is
// open then). Records the result.
Result ScreenMode(int mode, int depth, int pages, int flags, int refresh);
// Closes the screen if one is open (also registered to run at exit).
void ScreenClose();
void ScreenLock();
// Marks firstLine..lastLine dirty (negatives: 0 and height - 1) and releases
// one level of ScreenLock. (1, 0) marks nothing.
void ScreenUnlock(int firstLine, int lastLine);
// Stores the title (at most 127 bytes) for this and later opens.
void WindowTitle(std::string_view title);
// The stored title (what the back end was last given).
std::string_view CurrentWindowTitle();

// A drawing target: the screen's work page or an image's rows.
struct Surface {
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
  int bytesPerPixel = 0;
  bool isVisiblePage = false;  // drawing here must mark dirty rows

  // Callers clip first; a row outside is a fault of theirs.
  std::uint8_t* Row(int y) const {
    assert(y >= 0 && y < height);
    return pixels + std::ptrdiff_t(y) * pitchBytes;
  }
};

// The screen's work page as a surface; an empty surface when no screen is open.
Surface ScreenSurface();

}  // namespace rt
