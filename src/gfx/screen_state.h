#pragma once

#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/display_driver.h"
#include "gfx/rect.h"
#include "gfx/screen.h"

// The open screen's state and the per-thread drawing context: what the
// drawing operations, the input side and the back ends share. Programs use
// gfx/screen.h instead.
namespace rt {

// A page of pixel rows whose start is 16-byte aligned; rows are not padded.
struct Page {
  std::unique_ptr<std::uint8_t[]> allocation;
  std::uint8_t* pixels = nullptr;
};

// One character cell of the console's text shadow.
struct TextCell {
  std::uint32_t ch = ' ';
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
};

// The character-cell console on the graphics screen. Rows and columns are
// 0-based here; the view is the range of rows that prints and scrolls. No
// operation narrows the view yet, but Cls, scrolling and the line editor
// keep to it, as the console's rules say.
struct TextState {
  int cursorColumn = 0;
  int cursorRow = 0;
  bool pendingNewline = false;
  int viewFirstRow = 0;
  int viewLastRow = 0;
  std::vector<std::vector<TextCell>> shadow;  // one grid per page
};

// The one open screen. Everything the display thread reads (visible page,
// dirty lines, palette, key state) is guarded by the driver's lock.
struct ScreenState {
  int id = 0;
  int mode = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int bytesPerPixel = 0;
  int pitchBytes = 0;
  std::uint32_t colorMask = 0;
  int scanlineSize = 1;
  std::vector<Page> pages;
  int visiblePage = 0;
  std::vector<std::uint8_t> dirtyLines;       // height * scanlineSize entries, 0 or 1
  std::array<std::uint32_t, 256> palette{};   // 0x00BBGGRR entries, as loaded from files
  std::array<std::uint32_t, 256> colorMap{};  // the device palette as 0xAARRGGBB
  bool paletteChanged = false;
  int paletteKind = 255;
  int font = 255;
  int textColumns = 0;
  int textRows = 0;
  std::unique_ptr<DisplayDriver> driver;
  int lockCount = 0;  // touched by the drawing thread only
  std::array<std::uint8_t, 128> keyState{};
  TextState text;

  std::uint8_t* VisibleRow(int y) const {
    assert(y >= 0 && y < height);
    return pages[visiblePage].pixels + std::size_t(y) * pitchBytes;
  }
};

// The open screen, or nullptr when none is open.
ScreenState* Screen();

// Marks rows of the visible page dirty; the caller holds the lock.
void MarkDirty(int firstLine, int lastLine);

// Sets palette entry `index` (0..255) to 0xRRGGBB everywhere it lives: the
// screen's palette, the color map that 1-byte pixels are shown through and
// the back end's. The caller holds the lock.
void SetPaletteEntry(ScreenState& screen, int index, std::uint32_t rgb);

// The per-thread drawing state, rebuilt whenever the screen id changes.
struct DrawContext {
  int id = -1;
  int workPage = 0;
  Rect clip;             // the view: whole target unless the program set one
  bool viewSet = false;  // a graphics view narrower than the target is active
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
  int lastX = 0;  // last graphics position
  int lastY = 0;
};

// The calling thread's context; rebuilt (colors, clip, work page) when the
// open screen's id differs from the one it was built for.
DrawContext& CurrentContext();

// The page `context` draws on (the first page if it names none) as a surface.
inline Surface WorkPageSurface(const ScreenState& screen, const DrawContext& context) {
  const int page = context.workPage < int(screen.pages.size()) ? context.workPage : 0;
  return Surface{screen.pages[std::size_t(page)].pixels,
                 screen.width,
                 screen.height,
                 screen.pitchBytes,
                 screen.bytesPerPixel,
                 page == screen.visiblePage};
}

// Rounds half away from zero, as every pixel coordinate is. False for values
// beyond +-1e9, infinities and NaN, which lie off any target: callers then
// draw nothing.
inline bool RoundCoordinate(double value, int& out) {
  // Whole numbers, the usual case, need no rounding (NaN fails the range test).
  if (value > -1e9 && value < 1e9 && double(int(value)) == value) {
    out = int(value);
    return true;
  }
  if (!std::isfinite(value)) return false;
  double rounded = value > 0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
  // Far outside any target: report it so nothing is drawn.
  if (rounded < -1e9 || rounded > 1e9) return false;
  out = static_cast<int>(rounded);
  return true;
}

}  // namespace rt
