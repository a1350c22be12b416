#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

struct ScreenState;

// The window, its renderer and the texture holding the picture. Used by the
// display thread only: every call here is an SDL video call.
//
// The texture has the window's client size (screen width x window height);
// the renderer scales it by the largest whole factor that fits and centres
// it on black, so a full-screen window shows the same picture and reports
// the pointer in the same pixels.
class SdlWindow {
 public:
  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow();

  // Creates the window centred on the display under the pointer; false when
  // the window, renderer or texture cannot be made.
  bool Open(const std::string& titleUtf8, int width, int height, int flags);
  Uint32 Id() const { return SDL_GetWindowID(window_); }
  SDL_Window* Handle() const { return window_; }

  // Copies window rows first..last of the screen's visible page into the
  // texture; the caller holds the screen lock.
  void Upload(const ScreenState& screen, int first, int last);
  // Draws the texture into the window and shows it; needs no lock.
  void Present();
  // Rebuilds the texture after the renderer lost it.
  bool RecreateTexture();

  bool FullScreen() const { return fullScreen_; }
  void SetFullScreen(bool on);
  // The picture the desktop shows for the window; an empty one is ignored.
  void SetIcon(int width, int height, const std::vector<std::uint32_t>& argbPixels);
  void SetTitle(const std::string& titleUtf8);
  // Pointer operations in screen pixels.
  void Warp(int x, int y);
  void ShowCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
  void Confine(bool on);

 private:
  void ToWindow(int x, int y, int& windowX, int& windowY) const;

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool fullScreen_ = false;
  std::string title_;
  std::vector<std::uint32_t> staging_;  // rows converted from depths below 32
};

}  // namespace rt
