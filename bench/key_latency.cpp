// Measures how long a key press takes to show on the screen: it presses the
// Left or Right arrow through the XTest extension and watches only the
// catcher, found in the window by its picture (the rows it stands on also
// show the falling object, which the catcher covers where they meet, and
// nothing else of the catcher's rows moves on its own), until it stands
// elsewhere. The game must be in a round, its window focused. Prints each
// sample, then the median.
//
//   key_latency WINDOW_ID CATCHER_BMP [SAMPLES]
//   key_latency --where WINDOW_ID CATCHER_BMP    prints the catcher's x, or
//                                                fails when no catcher shows
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kCatcherTop = 400;  // the round draws the catcher's top row here
constexpr int kWidth = 640;

// A 24-bit BMP as 0xRRGGBB rows, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

std::optional<Picture> ReadBmp24(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || file[28] != 24 || Le32(file, 30) != 0) {
    return std::nullopt;
  }
  Picture picture;
  picture.width = int(Le32(file, 18));
  const auto height = std::int32_t(Le32(file, 22));
  picture.height = std::abs(height);
  const std::size_t offset = Le32(file, 10);
  const std::size_t stride = (std::size_t(picture.width) * 3 + 3) & ~std::size_t(3);
  if (picture.width <= 0 || picture.width > kWidth || picture.height == 0 ||
      offset + stride * picture.height > file.size())
    return std::nullopt;
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* row = &file[offset + stride * (height > 0 ? picture.height - 1 - y : y)];
    for (int x = 0; x < picture.width; ++x)
      picture.pixels.push_back(std::uint32_t(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 | row[3 * x]);
  }
  return picture;
}

bool ShowsAt(XImage* image, const Picture& catcher, int x) {
  for (int y = 0; y < catcher.height; ++y) {
    for (int i = 0; i < catcher.width; ++i) {
      if ((XGetPixel(image, x + i, y) & 0xFFFFFF) != catcher.pixels[std::size_t(y) * catcher.width + i])
        return false;
    }
  }
  return true;
}

// The catcher's x in the window: the place where the catcher's rows show
// its picture exactly; nullopt when it shows nowhere (not in a round). Looks
// near `hint` first, since the catcher moves a pixel a frame.
std::optional<int> CatcherX(Display* display, Window window, const Picture& catcher, int hint = 0) {
  XImage* image = XGetImage(display, window, 0, kCatcherTop, kWidth, catcher.height, AllPlanes, ZPixmap);
  if (!image) return std::nullopt;
  const int last = kWidth - catcher.width;
  std::optional<int> found;
  for (int x = std::max(0, hint - 8); x <= std::min(last, hint + 8) && !found; ++x) {
    if (ShowsAt(image, catcher, x)) found = x;
  }
  for (int x = 0; x <= last && !found; ++x) {
    if (ShowsAt(image, catcher, x)) found = x;
  }
  XDestroyImage(image);
  return found;
}

// Presses the key and answers the milliseconds until the catcher stood
// elsewhere, or a negative value when it did not within a second.
double PressAndWatch(Display* display, Window window, const Picture& catcher, KeyCode key) {
  const std::optional<int> before = CatcherX(display, window, catcher);
  if (!before) return -1;
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XFlush(display);
  const Clock::time_point pressed = Clock::now();
  double latency = -1;
  while (Clock::now() - pressed < 1s) {
    const std::optional<int> now = CatcherX(display, window, catcher, *before);
    if (now && *now != *before) {
      latency = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
      break;
    }
  }
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  XFlush(display);
  return latency;
}

int Measure(Display* display, Window window, const Picture& catcher, int samples) {
  const KeyCode keys[2] = {XKeysymToKeycode(display, XK_Left), XKeysymToKeycode(display, XK_Right)};
  std::vector<double> latencies;
  int missed = 0;
  for (int i = 0; i < samples; ++i) {
    // Alternate directions so the catcher stays on the screen.
    const double ms = PressAndWatch(display, window, catcher, keys[i % 2]);
    if (ms < 0) {
      ++missed;
      std::printf("sample %2d: the catcher did not move\n", i + 1);
    } else {
      latencies.push_back(ms);
      std::printf("sample %2d: %6.2f ms\n", i + 1, ms);
    }
    std::this_thread::sleep_for(150ms);
  }
  if (latencies.empty()) {
    std::printf("key to screen: the catcher did not move in %d presses\n", samples);
    return 1;
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("key to screen: median %.1f ms, min %.1f, max %.1f over %zu presses (%d without a move)\n",
              latencies[latencies.size() / 2], latencies.front(), latencies.back(), latencies.size(), missed);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool where = argc > 1 && std::strcmp(argv[1], "--where") == 0;
  if (where) {
    --argc;
    ++argv;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: key_latency [--where] WINDOW_ID CATCHER_BMP [SAMPLES]\n");
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const std::optional<Picture> catcher = ReadBmp24(argv[2]);
  if (!catcher) {
    std::fprintf(stderr, "%s: not a 24-bit BMP file\n", argv[2]);
    return 2;
  }
  // A busy X server refuses a connection now and then (EAGAIN): try again.
  Display* display = nullptr;
  for (int tries = 0; tries < 10 && !display; ++tries) {
    if (tries) std::this_thread::sleep_for(20ms);
    display = XOpenDisplay(nullptr);
  }
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  int result = 0;
  if (where) {
    const std::optional<int> x = CatcherX(display, window, *catcher);
    if (x) std::printf("%d\n", *x);
    result = x ? 0 : 1;
  } else {
    result = Measure(display, window, *catcher, argc > 3 ? std::atoi(argv[3]) : 30);
  }
  XCloseDisplay(display);
  return result;
}
