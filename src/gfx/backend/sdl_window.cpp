#include "gfx/backend/sdl_window.h"

#include <algorithm>

#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"

namespace rt {

namespace {

// The display whose bounds hold the pointer, or the first one.
int DisplayUnderPointer() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  const SDL_Point pointer{x, y};
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_PointInRect(&pointer, &bounds)) return i;
  }
  return 0;
}

Uint32 WindowFlags(int flags) {
  Uint32 sdlFlags = SDL_WINDOW_ALLOW_HIGHDPI;
  if (flags & kFlagFullScreen) sdlFlags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (flags & kFlagNoFrame) sdlFlags |= SDL_WINDOW_BORDERLESS;
  if (flags & kFlagAlwaysOnTop) sdlFlags |= SDL_WINDOW_ALWAYS_ON_TOP;
  return sdlFlags;
}

// One row of the visible page as 0xAARRGGBB pixels.
void ConvertRow(const ScreenState& screen, int row, std::uint32_t* out) {
  const std::uint8_t* in = screen.VisibleRow(row);
  if (screen.bytesPerPixel == 4) {
    std::copy_n(reinterpret_cast<const std::uint32_t*>(in), screen.width, out);
  } else if (screen.bytesPerPixel == 2) {
    const auto* p = reinterpret_cast<const std::uint16_t*>(in);
    for (int x = 0; x < screen.width; ++x) out[x] = ArgbFromRgb565(p[x]);
  } else {
    for (int x = 0; x < screen.width; ++x) out[x] = screen.colorMap[in[x]];
  }
}

// Without vsync: presenting must never wait long, the display thread sleeps
// anyway. The software renderer on the window system's own framebuffer where
// there is one (X11): a 640 x 480 picture needs no GPU, and loading a GL
// driver (the software one where there is no GPU above all) costs tens of
// megabytes and a thread per core. Elsewhere (Wayland) SDL's default.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) return renderer;
  SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
  return SDL_CreateRenderer(window, -1, 0);
}

}  // namespace

SdlWindow::~SdlWindow() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool SdlWindow::Open(const std::string& titleUtf8, int width, int height, int flags) {
  width_ = width;
  height_ = height;
  const int display = DisplayUnderPointer();
  window_ = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                             SDL_WINDOWPOS_CENTERED_DISPLAY(display), width, height, WindowFlags(flags));
  if (!window_) return false;
  title_ = titleUtf8;
  fullScreen_ = (flags & kFlagFullScreen) != 0;
  renderer_ = CreateRenderer(window_);
  if (!renderer_) return false;
  SDL_RenderSetLogicalSize(renderer_, width, height);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  if (!RecreateTexture()) return false;
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
  return true;
}

bool SdlWindow::RecreateTexture() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width_, height_);
  if (!texture_) return false;
  // The framebuffer's alpha byte means nothing on screen.
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
  return true;
}

void SdlWindow::Upload(const ScreenState& screen, int first, int last) {
  const SDL_Rect span{0, first, width_, last - first + 1};
  if (screen.bytesPerPixel == 4 && screen.scanlineSize == 1) {
    SDL_UpdateTexture(texture_, &span, screen.VisibleRow(first), screen.pitchBytes);
    return;
  }
  staging_.resize(std::size_t(width_) * span.h);
  for (int row = first; row <= last; ++row) {
    ConvertRow(screen, row / screen.scanlineSize, staging_.data() + std::size_t(row - first) * width_);
  }
  SDL_UpdateTexture(texture_, &span, staging_.data(), width_ * 4);
}

void SdlWindow::Present() {
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

// The round sets its title every frame; the window system hears of changes only.
void SdlWindow::SetTitle(const std::string& titleUtf8) {
  if (titleUtf8 == title_) return;
  title_ = titleUtf8;
  SDL_SetWindowTitle(window_, title_.c_str());
}

void SdlWindow::SetIcon(int width, int height, const std::vector<std::uint32_t>& argbPixels) {
  if (argbPixels.empty()) return;
  // SDL copies the pixels, so the surface may borrow them for this call.
  auto* pixels = const_cast<std::uint32_t*>(argbPixels.data());
  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;  // the window keeps the desktop's default icon
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

void SdlWindow::SetFullScreen(bool on) {
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) fullScreen_ = on;
}

void SdlWindow::ToWindow(int x, int y, int& windowX, int& windowY) const {
  SDL_RenderLogicalToWindow(renderer_, float(x), float(y), &windowX, &windowY);
}

void SdlWindow::Warp(int x, int y) {
  int wx = 0, wy = 0;
  ToWindow(x, y, wx, wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlWindow::Confine(bool on) {
  if (!on) {
    SDL_SetWindowMouseRect(window_, nullptr);
    return;
  }
  int left = 0, top = 0, right = 0, bottom = 0;
  ToWindow(0, 0, left, top);
  ToWindow(width_, height_, right, bottom);
  const SDL_Rect rect{left, top, right - left, bottom - top};
  SDL_SetWindowMouseRect(window_, &rect);
}

}  // namespace rt
