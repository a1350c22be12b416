// Presenting a full dirty 640 x 480 frame in a window (run under Xvfb).
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "gfx/backend/sdl_window.h"
#include "gfx/screen_state.h"
#include "our_screen.h"
#include "picture.h"

namespace bench {

namespace {

const std::vector<Probe> kWholeScreen = ProbesIn(0, 0, kScreenWidth, kScreenHeight);

// SDL's X11 video, started once: starting and stopping it for every run
// crashes now and then inside the GL driver. False without a display.
bool VideoStarted() {
  static const bool started = [] {
    if (!std::getenv("DISPLAY")) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }();
  return started;
}

// The window's pixels as the X server holds them, as 0xRRGGBB.
std::uint32_t WindowPixel(SDL_Window* window, int x, int y) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0xDEADBEEF;
  XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xDEADBEEF;
  const std::uint32_t pixel = std::uint32_t(XGetPixel(image, 0, 0)) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

std::uint32_t PictureRgb(int x, int y) { return PictureColour(x, y); }

void PresentOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  if (!VideoStarted()) return state.SkipWithError("no display (run under Xvfb)");
  rt::SdlWindow window;
  if (!window.Open("present", kScreenWidth, kScreenHeight, 0)) return state.SkipWithError(SDL_GetError());
  for (auto _ : state) {
    window.Upload(*rt::Screen(), 0, kScreenHeight - 1);
    window.Present();
  }
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return WindowPixel(window.Handle(), x, y); }, PictureRgb);
}
BENCHMARK(PresentOurs)->Name("Present/ours")->UseRealTime();

void PresentSdl(benchmark::State& state) {
  if (!VideoStarted()) return state.SkipWithError("no display (run under Xvfb)");
  SDL_Window* window = SDL_CreateWindow("present", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        kScreenWidth, kScreenHeight, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer
                             ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                 SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight)
                             : nullptr;
  if (!texture) {
    state.SkipWithError(SDL_GetError());
  } else {
    const std::vector<std::uint32_t>& picture = PictureArgb();
    for (auto _ : state) {
      SDL_UpdateTexture(texture, nullptr, picture.data(), kScreenWidth * 4);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
    }
    CheckPixels(
        state, kWholeScreen, [&](int x, int y) { return WindowPixel(window, x, y); }, PictureRgb);
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (window) SDL_DestroyWindow(window);
}
BENCHMARK(PresentSdl)->Name("Present/SDL_UpdateTexture+RenderCopy+RenderPresent")->UseRealTime();

}  // namespace

}  // namespace bench
