#include "our_screen.h"

#include <cstring>

#include "gfx/screen.h"
#include "picture.h"

namespace bench {

namespace {

// Flags -1 choose the back end without a window.
constexpr int kNoWindow = -1;

}  // namespace

OurScreen::OurScreen() { rt::ScreenMode(18, 32, 2, kNoWindow, 0); }

OurScreen::~OurScreen() { rt::ScreenClose(); }

Frame OurScreen::Pixels() const {
  const rt::Surface page = rt::ScreenSurface();
  if (!page.pixels) return {};
  return FrameOf(reinterpret_cast<const std::uint32_t*>(page.pixels), page.pitchBytes / 4);
}

void OurScreen::FillWithPicture() {
  const rt::Surface page = rt::ScreenSurface();
  if (!page.pixels) return;
  const std::vector<std::uint32_t>& picture = PictureArgb();
  for (int y = 0; y < kScreenHeight; ++y)
    std::memcpy(page.Row(y), &picture[std::size_t(y) * kScreenWidth], kScreenWidth * 4);
}

rt::ImagePtr MakeImage(const std::vector<std::uint32_t>& argb, int width, int height) {
  rt::ImagePtr image(rt::ImageCreate(width, height));
  const rt::Surface surface = rt::ImageSurface(image.get());
  for (int y = 0; y < height; ++y)
    std::memcpy(surface.Row(y), &argb[std::size_t(y) * width], std::size_t(width) * 4);
  return image;
}

}  // namespace bench
