#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

struct ScreenState;

// The window and the picture in it. Used by the display thread only: every
// call here is an SDL video call.
//
// The screen's rows are written straight into the window's surface, in the
// window's pixel format, scaled by the largest whole factor that fits (1 in
// a window of the screen's size, more in full screen) and centred on black;
// the pointer is reported in the same screen pixels.
class SdlWindow {
 public:
  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow();

  // Creates the window centred on the display under the pointer; false when
  // the window or its surface cannot be made.
  bool Open(const std::string& titleUtf8, int width, int height, int flags);
  SDL_Window* Handle() const { return window_; }

  // Writes the window rows marked in `rows` (one entry per window row), or
  // every row after RepaintAll, into the window's surface; the caller holds
  // the screen lock. False when there is nothing to show.
  bool Upload(const ScreenState& screen, const std::vector<std::uint8_t>& rows);
  // Shows what Upload wrote; needs no lock.
  void Present();
  // The next Upload writes and shows the whole window, changed or not.
  void RepaintAll() { repaintAll_ = true; }

  bool FullScreen() const { return fullScreen_; }
  void SetFullScreen(bool on);
  // The picture the desktop shows for the window; an empty one is ignored.
  void SetIcon(int width, int height, const std::vector<std::uint32_t>& argbPixels);
  void SetTitle(const std::string& titleUtf8);
  // A point of the window in screen pixels (outside the picture: outside
  // the screen).
  SDL_Point ToScreen(int windowX, int windowY) const;
  // Pointer operations in screen pixels.
  void Warp(int x, int y);
  void ShowCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
  void Confine(bool on);

 private:
  // Where the picture lies in a window of the given size.
  struct Placement {
    int windowWidth = 0;
    int windowHeight = 0;
    int scale = 1;
    int left = 0;
    int top = 0;
  };

  // The window's surface; a new one (the window's size changed) is repainted.
  SDL_Surface* Surface();
  Placement PlaceIn(int windowWidth, int windowHeight) const;
  Placement PointerPlacement() const;
  SDL_Point ToWindow(int x, int y) const;
  // Writes window row `row` of the screen and notes it for Present.
  void WriteRow(const ScreenState& screen, int row);

  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;  // SDL's, valid until the window's size changes
  Placement place_;                 // of the picture in surface_
  int width_ = 0;
  int height_ = 0;
  bool fullScreen_ = false;
  bool repaintAll_ = true;
  std::string title_;
  std::vector<SDL_Rect> changed_;       // what Upload wrote, for Present
  std::vector<std::uint32_t> argbRow_;  // a row converted from depths below 32
  std::vector<std::uint32_t> wideRow_;  // a row widened by the scale
};

}  // namespace rt
