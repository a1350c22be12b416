// Draws the game's eight pictures into the folder given as the argument.
#include <cstdio>
#include <fstream>
#include <string>

#include "pictures/scenery.h"
#include "pictures/sprites.h"

namespace {

using namespace pictures;

constexpr std::uint32_t kKeyColor = 0xFF00FF;

void Put16(std::string& out, unsigned v) { out += char(v & 0xFF), out += char(v >> 8 & 0xFF); }
void Put32(std::string& out, std::uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }

bool WriteBmp24(const std::string& path, int width, int height, auto pixelAt) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  std::string out;
  out += "BM";
  Put32(out, 54 + rowBytes * height);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, rowBytes * height);
  Put32(out, 2834);
  Put32(out, 2834);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = pixelAt(x, y);
      out += char(c & 0xFF), out += char(c >> 8 & 0xFF), out += char(c >> 16 & 0xFF);
    }
    out.resize(start + rowBytes, '\0');
  }
  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), std::streamsize(out.size()));
  return bool(file);
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
  return 0;
}
