// Presenting a 640 x 480 frame in a window under X11: a frame in which every
// row changed, and one in which only a sprite moved by a pixel (the game
// redraws and so marks every row, but only the sprite's rows differ). Ours
// goes the public way: it draws, unlocks the screen, and the window back
// end finds the rows that changed and its display thread shows them. The
// peers are SDL's software renderer (the way ours went before) and SDL's
// window surface written directly (the way ours goes now, given the rows).
//
// A frame costs the CPU time of the whole process, all threads, from the
// unlock (or the peer's first call) until the next frame is due; drawing the
// frame and the X server's work are not counted. Frames are kPace apart so
// that the display thread shows each one before the next is drawn. Without
// DISPLAY these report an error.
#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "gfx/image.h"
#include "gfx/screen.h"
#include "our_screen.h"
#include "sdl_peer.h"

namespace bench {

namespace {

using namespace std::chrono_literals;

constexpr auto kPace = 6ms;  // the display thread shows a frame at most every 4 ms
constexpr int kFrames = 100;
constexpr int kSpriteSize = 32;
constexpr int kSpriteX = 300;  // the sprite alternates between x 300 and 301
constexpr int kSpriteY = 200;
constexpr SDL_Rect kSpriteRows{0, kSpriteY, kScreenWidth, kSpriteSize};

enum class Change { EveryRow, SpriteMoved };

const std::vector<std::uint32_t>& Sprite() {
  static const std::vector<std::uint32_t> sprite = MakeSprite(kSpriteSize, kSpriteSize);
  return sprite;
}

int SpriteX(int frame) { return kSpriteX + frame % 2; }

std::vector<std::uint32_t> PictureWithSprite(int x) {
  Frame rgb = FrameOf(PictureArgb());
  PutKeyed(rgb, Sprite(), kSpriteSize, kSpriteSize, x, kSpriteY);
  for (std::uint32_t& p : rgb) p |= 0xFF000000u;
  return rgb;
}

// Frame number `frame` as 0xFFRRGGBB rows: the two pictures in turn, or the
// first with the sprite a pixel further left or right.
const std::vector<std::uint32_t>& FrameArgb(Change change, int frame) {
  static const std::vector<std::uint32_t> moved[2] = {PictureWithSprite(SpriteX(0)),
                                                      PictureWithSprite(SpriteX(1))};
  if (change == Change::SpriteMoved) return moved[frame % 2];
  return frame % 2 ? OtherPictureArgb() : PictureArgb();
}

// Connecting to a busy X server fails now and then (EAGAIN: its queue of
// connections is full), so each connection is tried up to ten times.
template <class Open>
bool Retried(Open open) {
  for (int tries = 0; tries < 10; ++tries) {
    if (open()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Frames 1, 2, ... (frame 0 was shown and checked before): `draw` is not
// timed, `present` and whatever the process does until the next frame is.
template <class Draw, class Present>
void TimeFrames(benchmark::State& state, Draw draw, Present present) {
  int frame = 1;
  for (auto _ : state) {
    draw(frame);
    const double start = ProcessCpuSeconds();
    present(frame);
    std::this_thread::sleep_for(kPace);
    state.SetIterationTime(ProcessCpuSeconds() - start);
    ++frame;
  }
}

// A connection of our own to the X server, to find this process's window
// and read what it shows.
class XWatcher {
 public:
  XWatcher() {
    if (std::getenv("DISPLAY")) Retried([&] { return (display_ = XOpenDisplay(nullptr)) != nullptr; });
  }
  ~XWatcher() {
    if (display_) XCloseDisplay(display_);
  }
  explicit operator bool() const { return display_ != nullptr; }

  // Looks at the window 200 times, 10 ms apart, until it shows `argb`; answers what
  // differs then (or that there is no window), or nothing when it showed.
  std::string AwaitShown(const std::vector<std::uint32_t>& argb) {
    const Frame expected = FrameOf(argb);
    Frame shown;
    for (int tries = 0; tries < 200; ++tries) {
      shown = Shown();
      if (shown == expected) return "";
      std::this_thread::sleep_for(10ms);
    }
    return shown.empty() ? "no window of this process is shown" : Difference(shown, expected);
  }

 private:
  static int IgnoreError(Display*, XErrorEvent*) { return 0; }

  // What the process's 640 x 480 window shows; empty while there is none.
  // Windows vanish as benchmarks end, so X errors are expected here.
  Frame Shown() {
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    Frame frame;
    const Window window = OwnWindow();
    if (XImage* image =
            window ? XGetImage(display_, window, 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap)
                   : nullptr) {
      frame.resize(std::size_t(kScreenWidth) * kScreenHeight);
      for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x)
          frame[std::size_t(y) * kScreenWidth + x] = std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF;
      }
      XDestroyImage(image);
    }
    XSync(display_, False);
    XSetErrorHandler(previous);
    return frame;
  }

  // The top-level window that carries this process's id and the screen's size.
  Window OwnWindow() {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable ||
          attributes.width != kScreenWidth || attributes.height != kScreenHeight)
        continue;
      Atom type = 0;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(display_, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                             &after, &data) == Success &&
          data && items == 1 && format == 32 && *reinterpret_cast<unsigned long*>(data) == unsigned(getpid()))
        found = children[i];
      if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
  }

  Display* display_ = nullptr;
};

// Checks the first frame before timing.
bool FirstFrameShown(benchmark::State& state, XWatcher& watcher, const std::vector<std::uint32_t>& argb) {
  const std::string wrong = watcher.AwaitShown(argb);
  if (!wrong.empty()) Fail(state, wrong.c_str());
  return wrong.empty();
}

// Ours: the screen on the window back end, drawn as the game draws (the whole
// frame, every row marked) and unlocked; the display thread presents it.
void PresentOurs(benchmark::State& state, Change change) {
  XWatcher watcher;
  if (!watcher) return Fail(state, "no display (run under Xvfb)");
  if (!Retried([] { return rt::ScreenMode(18, 32, 2, 0, 0) == rt::ResultOk; }))
    return Fail(state, "no window opened");
  const rt::ImagePtr pictures[2] = {MakeImage(PictureArgb(), kScreenWidth, kScreenHeight),
                                    MakeImage(OtherPictureArgb(), kScreenWidth, kScreenHeight)};
  const rt::ImagePtr sprite = MakeImage(Sprite(), kSpriteSize, kSpriteSize);
  auto draw = [&](int frame) {
    rt::ScreenLock();
    if (change == Change::EveryRow) {
      rt::Put(nullptr, 0, 0, pictures[frame % 2].get());
    } else {
      rt::Put(nullptr, 0, 0, pictures[0].get());
      rt::Put(nullptr, SpriteX(frame), kSpriteY, sprite.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutTrans);
    }
  };
  auto present = [](int) { rt::ScreenUnlock(0, kScreenHeight - 1); };
  draw(0);
  present(0);
  if (FirstFrameShown(state, watcher, FrameArgb(change, 0))) {
    TimeFrames(state, draw, present);
    // Every frame was meant to be shown; the last one at least must be.
    const std::string last = watcher.AwaitShown(FrameArgb(change, int(state.iterations())));
    if (!last.empty()) state.SkipWithError(("the last frame: " + last).c_str());
  }
  rt::ScreenClose();
}

// The peers draw every frame before the run: their frames are FrameArgb's.
constexpr auto kDrawnBefore = [](int) {};

// SDL's X11 video for one benchmark, on the window system's own framebuffer
// as ours (no GL texture behind the window surface).
class SdlVideo {
 public:
  SdlVideo() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    started_ = Retried([] { return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; });
    if (started_) {
      window_ = SDL_CreateWindow("present", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                                 kScreenHeight, 0);
    }
  }
  ~SdlVideo() {
    if (window_) SDL_DestroyWindow(window_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  SDL_Window* Window() const { return window_; }

 private:
  bool started_ = false;
  SDL_Window* window_ = nullptr;
};

// SDL's software renderer: the texture updated (all of it, or the sprite's
// rows), copied to the window surface and presented.
void PresentSdlRenderer(benchmark::State& state, Change change) {
  XWatcher watcher;
  if (!watcher) return Fail(state, "no display (run under Xvfb)");
  SdlVideo video;
  SDL_Renderer* renderer =
      video.Window() ? SDL_CreateRenderer(video.Window(), -1, SDL_RENDERER_SOFTWARE) : nullptr;
  SDL_Texture* texture = renderer
                             ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                 SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight)
                             : nullptr;
  if (!texture) {
    Fail(state, SDL_GetError());
  } else {
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    auto present = [&](int frame) {
      const std::vector<std::uint32_t>& pixels = FrameArgb(change, frame);
      if (change == Change::EveryRow || frame == 0) {
        SDL_UpdateTexture(texture, nullptr, pixels.data(), kScreenWidth * 4);
      } else {
        SDL_UpdateTexture(texture, &kSpriteRows, &pixels[std::size_t(kSpriteY) * kScreenWidth],
                          kScreenWidth * 4);
      }
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
    };
    present(0);
    if (FirstFrameShown(state, watcher, FrameArgb(change, 0))) TimeFrames(state, kDrawnBefore, present);
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
}

// No renderer: the pixels written straight into the window surface and that
// updated, all of it or only the sprite's rows.
void PresentSdlWindowSurface(benchmark::State& state, Change change) {
  XWatcher watcher;
  if (!watcher) return Fail(state, "no display (run under Xvfb)");
  SdlVideo video;
  SDL_Surface* surface = video.Window() ? SDL_GetWindowSurface(video.Window()) : nullptr;
  if (!surface) return Fail(state, SDL_GetError());
  if (surface->format->BytesPerPixel != 4) return Fail(state, "the window surface is not 32 bits");
  auto present = [&](int frame) {
    const std::vector<std::uint32_t>& pixels = FrameArgb(change, frame);
    const bool whole = change == Change::EveryRow || frame == 0;
    const int first = whole ? 0 : kSpriteY;
    const int rows = whole ? kScreenHeight : kSpriteSize;
    for (int y = first; y < first + rows; ++y) {
      std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + std::ptrdiff_t(y) * surface->pitch,
                  &pixels[std::size_t(y) * kScreenWidth], kScreenWidth * 4);
    }
    if (whole) {
      SDL_UpdateWindowSurface(video.Window());
    } else {
      SDL_UpdateWindowSurfaceRects(video.Window(), &kSpriteRows, 1);
    }
  };
  present(0);
  if (FirstFrameShown(state, watcher, FrameArgb(change, 0))) TimeFrames(state, kDrawnBefore, present);
}

void Register(const char* name, void (*run)(benchmark::State&, Change), Change change) {
  benchmark::RegisterBenchmark(name, run, change)
      ->Iterations(kFrames)
      ->UseManualTime()
      ->MeasureProcessCPUTime();
}

const bool kRegistered = [] {
  Register("Present_full/ours", PresentOurs, Change::EveryRow);
  Register("Present_full/SDL_UpdateTexture+RenderCopy+RenderPresent", PresentSdlRenderer, Change::EveryRow);
  Register("Present_full/SDL_UpdateWindowSurface", PresentSdlWindowSurface, Change::EveryRow);
  Register("Present_sprite_moved/ours", PresentOurs, Change::SpriteMoved);
  Register("Present_sprite_moved/SDL_UpdateTexture(rows)+RenderCopy+RenderPresent", PresentSdlRenderer,
           Change::SpriteMoved);
  Register("Present_sprite_moved/SDL_UpdateWindowSurfaceRects(rows)", PresentSdlWindowSurface,
           Change::SpriteMoved);
  return true;
}();

}  // namespace

}  // namespace bench
