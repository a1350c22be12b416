// Draws the game's eight pictures into the folder given as the argument.
#include <cstdio>
#include <string>

#include "gfx/bmp.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "pictures/scenery.h"
#include "pictures/sprites.h"

namespace {

using namespace pictures;

constexpr std::uint32_t kKeyColor = 0xFF00FF;

// Copies the pixels into an image of the runtime and saves it as a 24-bit BMP.
bool WriteBmp24(const std::string& path, int width, int height, auto pixelAt) {
  const rt::ImagePtr image(rt::ImageCreate(width, height));
  if (!image) return false;
  const rt::Surface surface = rt::ImageSurface(image.get());
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(surface.Row(y));
    for (int x = 0; x < width; ++x) row[x] = 0xFF000000 | pixelAt(x, y);
  }
  return rt::Bsave(path, image.get(), 24) == rt::ResultOk;
}

bool WritePicture(const std::string& path, const Canvas& canvas) {
  return WriteBmp24(path, canvas.Width(), canvas.Height(), [&](int x, int y) { return canvas.Rgb(x, y); });
}

// Object sprites: what the drawing half covers is opaque, the rest the key.
bool WriteKeyedSprite(const std::string& path, SpriteSize size, void (*draw)(Canvas&, const Transform&)) {
  Canvas canvas(size.width, size.height);
  draw(canvas, {});
  return WriteBmp24(path, size.width, size.height,
                    [&](int x, int y) { return canvas.At(x, y).a >= 0.5f ? canvas.Rgb(x, y) : kKeyColor; });
}

// The catcher is drawn opaque, standing on the meadow at row 400.
bool WriteCatcher(const std::string& path) {
  constexpr int kCatcherTop = 400;
  Canvas canvas(kCatcherSize.width, kCatcherSize.height);
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) canvas.At(x, y) = GroundColor(kCatcherTop + y);
  }
  DrawCatcher(canvas, {});
  return WritePicture(path, canvas);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures <output folder>\n");
    return 2;
  }
  // Images are made at the depth of a screen; the null back end opens one
  // without a window.
  if (rt::ScreenMode(18, 32, 1, -1, 0) != rt::ResultOk) {
    std::fprintf(stderr, "make_pictures: no screen to draw on\n");
    return 1;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const bool written = WritePicture(folder + "intro.bmp", DrawIntro()) &&
                       WritePicture(folder + "background.bmp", DrawBackground()) &&
                       WriteCatcher(folder + "faenger.bmp") &&
                       WriteKeyedSprite(folder + "normal.bmp", kStoneSize, DrawWhiteStone) &&
                       WriteKeyedSprite(folder + "stein.bmp", kStoneSize, DrawBlackStone) &&
                       WriteKeyedSprite(folder + "leben.bmp", kHeartSize, DrawHeart) &&
                       WriteKeyedSprite(folder + "geld.bmp", kCoinSize, DrawCoin) &&
                       WriteKeyedSprite(folder + "ufo.bmp", kSaucerSize, DrawSaucer);
  if (!written) {
    std::fprintf(stderr, "make_pictures: could not write the pictures into %s\n", argv[1]);
    return 1;
  }
  rt::ScreenClose();
  return 0;
}
