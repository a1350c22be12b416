#include "gfx/backend/sdl_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

// Row `row` of the visible page as 0xAARRGGBB pixels: the row itself at 32
// bits, otherwise converted into `staging`.
const std::uint32_t* ArgbRow(const ScreenState& screen, int row, std::vector<std::uint32_t>& staging) {
  const std::uint8_t* in = screen.VisibleRow(row);
  if (screen.bytesPerPixel == 4) return reinterpret_cast<const std::uint32_t*>(in);
  staging.resize(std::size_t(screen.width));
  if (screen.bytesPerPixel == 2) {
    const auto* p = reinterpret_cast<const std::uint16_t*>(in);
    for (int x = 0; x < screen.width; ++x) staging[x] = ArgbFromRgb565(p[x]);
  } else {
    for (int x = 0; x < screen.width; ++x) staging[x] = screen.colorMap[in[x]];
  }
  return staging.data();
}

// X11 has a framebuffer of its own, shared with the X server: written row by
// row it costs the least by far. Unasked, SDL would load a GL driver to
// decide (tens of megabytes and a thread per core) and might put a texture
// behind the surface. Where the window system has no framebuffer (Wayland),
// SDL backs the surface with a texture of an accelerated renderer.
void ChooseSurfaceKind() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

// Rounds towards minus infinity, so that points left of or above the
// picture lie outside the screen.
int FloorDiv(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

SdlWindow::~SdlWindow() {
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
  ChooseSurfaceKind();
  if (!Surface()) return false;
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
  return true;
}

SDL_Surface* SdlWindow::Surface() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) {
    surface_ = nullptr;
    return nullptr;
  }
  if (surface != surface_ || surface->w != place_.windowWidth || surface->h != place_.windowHeight) {
    surface_ = surface;
    place_ = PlaceIn(surface->w, surface->h);
    repaintAll_ = true;
  }
  return surface_;
}

SdlWindow::Placement SdlWindow::PlaceIn(int windowWidth, int windowHeight) const {
  Placement place{windowWidth, windowHeight};
  place.scale = std::max(1, std::min(windowWidth / width_, windowHeight / height_));
  place.left = std::max(0, (windowWidth - width_ * place.scale) / 2);
  place.top = std::max(0, (windowHeight - height_ * place.scale) / 2);
  return place;
}

bool SdlWindow::Upload(const ScreenState& screen, const std::vector<std::uint8_t>& rows) {
  if (!Surface()) return false;
  const bool all = std::exchange(repaintAll_, false);
  if (all) SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));
  for (int row = 0; row < height_; ++row) {
    if (all || rows[row]) WriteRow(screen, row);
  }
  if (all) changed_.assign(1, SDL_Rect{0, 0, surface_->w, surface_->h});
  return !changed_.empty();
}

void SdlWindow::WriteRow(const ScreenState& screen, int row) {
  const int scale = place_.scale;
  const int top = place_.top + row * scale;
  if (top >= surface_->h) return;
  const std::uint32_t* argb = ArgbRow(screen, row / screen.scanlineSize, argbRow_);
  if (scale > 1) {
    wideRow_.resize(std::size_t(width_) * scale);
    for (int x = 0; x < width_; ++x) std::fill_n(&wideRow_[std::size_t(x) * scale], scale, argb[x]);
    argb = wideRow_.data();
  }
  const int pixels = std::min(width_ * scale, surface_->w - place_.left);
  const int bytesPerPixel = surface_->format->BytesPerPixel;
  auto* out = static_cast<std::uint8_t*>(surface_->pixels) + std::ptrdiff_t(top) * surface_->pitch +
              place_.left * bytesPerPixel;
  const Uint32 format = surface_->format->format;
  if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
    std::memcpy(out, argb, std::size_t(pixels) * 4);
  } else {
    SDL_ConvertPixels(pixels, 1, SDL_PIXELFORMAT_ARGB8888, argb, pixels * 4, format, out, surface_->pitch);
  }
  const int rows = std::min(scale, surface_->h - top);
  for (int i = 1; i < rows; ++i)
    std::memcpy(out + std::ptrdiff_t(i) * surface_->pitch, out, std::size_t(pixels) * bytesPerPixel);

  // Rows written one after another are shown as one rectangle.
  if (!changed_.empty() && changed_.back().y + changed_.back().h == top) {
    changed_.back().h += rows;
  } else {
    changed_.push_back(SDL_Rect{place_.left, top, pixels, rows});
  }
}

void SdlWindow::Present() {
  if (changed_.empty()) return;
  // Fails when the window's size changed meanwhile: the next upload repaints.
  if (SDL_UpdateWindowSurfaceRects(window_, changed_.data(), int(changed_.size())) != 0) repaintAll_ = true;
  changed_.clear();
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

// The pointer follows the window's size at once; the surface changes size
// with the next upload.
SdlWindow::Placement SdlWindow::PointerPlacement() const {
  int width = 0, height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  return PlaceIn(width, height);
}

SDL_Point SdlWindow::ToScreen(int windowX, int windowY) const {
  const Placement place = PointerPlacement();
  return SDL_Point{FloorDiv(windowX - place.left, place.scale), FloorDiv(windowY - place.top, place.scale)};
}

SDL_Point SdlWindow::ToWindow(int x, int y) const {
  const Placement place = PointerPlacement();
  return SDL_Point{place.left + x * place.scale, place.top + y * place.scale};
}

void SdlWindow::Warp(int x, int y) {
  const SDL_Point point = ToWindow(x, y);
  SDL_WarpMouseInWindow(window_, point.x, point.y);
}

void SdlWindow::Confine(bool on) {
  if (!on) {
    SDL_SetWindowMouseRect(window_, nullptr);
    return;
  }
  const SDL_Point topLeft = ToWindow(0, 0);
  const SDL_Point bottomRight = ToWindow(width_, height_);
  const SDL_Rect rect{topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
  SDL_SetWindowMouseRect(window_, &rect);
}

}  // namespace rt
