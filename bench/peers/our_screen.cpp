#include "our_screen.h"

#include <cstring>

#include "gfx/display_driver.h"
#include "gfx/screen_state.h"
#include "picture.h"

namespace bench {

OurScreen::OurScreen() {
  rt::SetDriverList({rt::NullDriverEntry()});
  rt::ScreenMode(18, 32, 2, 0, 0);
}

OurScreen::~OurScreen() {
  rt::ScreenClose();
  rt::SetDriverList({});
}

bool OurScreen::IsOpen() const { return rt::Screen() != nullptr; }

std::uint32_t OurScreen::Pixel(int x, int y) const {
  return reinterpret_cast<const std::uint32_t*>(rt::Screen()->VisibleRow(y))[x];
}

void OurScreen::FillWithPicture() {
  const std::vector<std::uint32_t>& picture = PictureArgb();
  for (int y = 0; y < kScreenHeight; ++y) {
    std::memcpy(rt::Screen()->VisibleRow(y), &picture[std::size_t(y) * kScreenWidth], kScreenWidth * 4);
  }
}

rt::ImagePtr MakeImage(const std::vector<std::uint32_t>& argb, int width, int height) {
  rt::ImagePtr image(rt::ImageCreate(width, height));
  const rt::Surface surface = rt::ImageSurface(image.get());
  for (int y = 0; y < height; ++y)
    std::memcpy(surface.Row(y), &argb[std::size_t(y) * width], std::size_t(width) * 4);
  return image;
}

}  // namespace bench
