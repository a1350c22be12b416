#include "screen_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace game::test {

std::vector<std::uint32_t> CaptureScreenArea(int left, int top, int width, int height) {
  std::vector<std::uint32_t> pixels;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return pixels;
  if (XImage* image = XGetImage(display, DefaultRootWindow(display), left, top, unsigned(width),
                                unsigned(height), AllPlanes, ZPixmap)) {
    pixels.reserve(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixels;
}

}  // namespace game::test
