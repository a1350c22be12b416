#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "gfx/display_driver.h"

namespace rt {

struct ImageBuffer;

// One row of the screen-mode table; width 0 marks a mode that does not exist.
struct ModeInfo {
  std::uint16_t width;
  std::uint16_t height;
  std::uint8_t depth;
  std::uint8_t scanlineSize;
  std::uint8_t pages;
  std::uint8_t paletteKind;  // 0: 2 colours, 1: 16, 2: 64, 3: 256, 255: none
  std::uint8_t font;         // 0: 8x8, 1: 8x14, 2: 8x16, 255: none
  std::uint8_t textColumns;
  std::uint8_t textRows;
};
inline constexpr int kModeCount = 22;

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
// 0-based here; the view is the range of rows that prints and scrolls.
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
  std::vector<std::uint8_t> dirtyLines;  // height * scanlineSize entries, 0 or 1
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

  std::uint8_t* VisibleRow(int y) const { return pages[visiblePage].pixels + std::size_t(y) * pitchBytes; }
};

// The open screen, or nullptr when none is open.
ScreenState* Screen();

// Opens a screen from the mode table; 0 on success, 1 on a bad argument or
// when no back end opens (the previous screen stays open on a bad argument).
int ScreenMode(int mode, int depth, int pages, int flags, int refresh);
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

// Marks rows of the visible page dirty; the caller holds the lock.
void MarkDirty(int firstLine, int lastLine);

// A drawing target: the screen's work page or an image's rows.
struct Surface {
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
  int bytesPerPixel = 0;
  bool isVisiblePage = false;  // drawing here must mark dirty rows

  std::uint8_t* Row(int y) const { return pixels + std::ptrdiff_t(y) * pitchBytes; }
};

struct ClipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The per-thread drawing state, rebuilt whenever the screen id changes.
struct DrawContext {
  int id = -1;
  int workPage = 0;
  ClipRect clip;          // the view: whole target unless the program set one
  bool viewSet = false;   // a graphics view narrower than the target is active
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
  int lastX = 0;          // last graphics position
  int lastY = 0;
};

// The calling thread's context; rebuilt (colours, clip, work page) when the
// open screen's id differs from the one it was built for.
DrawContext& CurrentContext();

// The screen's work page as a surface; an empty surface when no screen is open.
Surface ScreenSurface();

// Rounds half away from zero, as every pixel coordinate is. Values outside
// the int range (and NaN) give `outOfRange` so callers can draw nothing.
bool RoundCoordinate(double value, int& out);

}  // namespace rt
