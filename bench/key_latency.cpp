// Measures how long a key press takes to show on the screen: it presses the
// Left or Right arrow through the XTest extension and watches the window's
// catcher band (rows 400 to 439) until its pixels change. The game must be in
// a round, its window focused. Prints each sample and the median.
//
//   key_latency WINDOW_ID [SAMPLES]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kBandTop = 400;
constexpr int kBandHeight = 40;
constexpr int kWidth = 640;

std::vector<char> Band(Display* display, Window window) {
  XImage* image = XGetImage(display, window, 0, kBandTop, kWidth, kBandHeight, AllPlanes, ZPixmap);
  if (!image) return {};
  std::vector<char> bytes(image->data, image->data + std::size_t(image->bytes_per_line) * kBandHeight);
  XDestroyImage(image);
  return bytes;
}

// Presses the key and answers the milliseconds until the band changed, or a
// negative value when it did not within a second.
double PressAndWatch(Display* display, Window window, KeyCode key) {
  const std::vector<char> before = Band(display, window);
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XFlush(display);
  const Clock::time_point pressed = Clock::now();
  double latency = -1;
  while (Clock::now() - pressed < 1s) {
    if (Band(display, window) != before) {
      latency = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
      break;
    }
  }
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  XFlush(display);
  return latency;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s WINDOW_ID [SAMPLES]\n", argv[0]);
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int samples = argc > 2 ? std::atoi(argv[2]) : 30;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  const KeyCode keys[2] = {XKeysymToKeycode(display, XK_Left), XKeysymToKeycode(display, XK_Right)};
  std::vector<double> latencies;
  int missed = 0;
  for (int i = 0; i < samples; ++i) {
    // Alternate directions so the catcher stays on the screen.
    const double ms = PressAndWatch(display, window, keys[i % 2]);
    if (ms < 0) {
      ++missed;
    } else {
      latencies.push_back(ms);
      std::printf("sample %2d: %6.2f ms\n", i + 1, ms);
    }
    std::this_thread::sleep_for(150ms);
  }
  XCloseDisplay(display);
  if (latencies.empty()) {
    std::printf("key to screen: no change seen in %d presses\n", samples);
    return 1;
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("key to screen: median %.1f ms, min %.1f, max %.1f over %zu presses (%d without a change)\n",
              latencies[latencies.size() / 2], latencies.front(), latencies.back(), latencies.size(), missed);
  return 0;
}
