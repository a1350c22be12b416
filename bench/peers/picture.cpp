#include "picture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bench {

namespace {

std::uint32_t Hash(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7FEB352Du;
  v ^= v >> 15;
  v *= 0x846CA68Bu;
  return v ^ (v >> 16);
}

void Put16(std::string& out, std::uint32_t v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    char pattern[] = "/tmp/morvanta-bench-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    static std::filesystem::path path = made;
    std::atexit([] { std::filesystem::remove_all(path); });
    return path;
  }();
  return folder;
}

}  // namespace

std::uint32_t PictureColor(int x, int y) {
  const std::uint32_t noise = Hash(std::uint32_t(y) * 4096u + std::uint32_t(x)) & 0x3F3F3F;
  const std::uint32_t red = (x * 255 / (kScreenWidth - 1)) & 0xC0;
  const std::uint32_t green = (y * 255 / (kScreenHeight - 1)) & 0xC0;
  const std::uint32_t blue = ((x + y) * 2) & 0xC0;
  // The picture must never hold the key color, or keyed copies would skip it.
  std::uint32_t color = (red << 16 | green << 8 | blue) + noise;
  if (color == kKey) color ^= 1;
  return color;
}

const std::vector<std::uint32_t>& PictureArgb() {
  static const std::vector<std::uint32_t> pixels = [] {
    std::vector<std::uint32_t> out(std::size_t(kScreenWidth) * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x)
        out[std::size_t(y) * kScreenWidth + x] = 0xFF000000u | PictureColor(x, y);
    }
    return out;
  }();
  return pixels;
}

const std::vector<std::uint32_t>& OtherPictureArgb() {
  static const std::vector<std::uint32_t> pixels = [] {
    std::vector<std::uint32_t> out = PictureArgb();
    for (std::uint32_t& p : out) {
      p ^= 0x404040;
      if ((p & 0xFFFFFF) == kKey) p ^= 1;
    }
    return out;
  }();
  return pixels;
}

bool SpriteIsKey(int width, int height, int x, int y) {
  const long dx = 2L * x + 1 - width;
  const long dy = 2L * y + 1 - height;
  return dx * dx * height * height + dy * dy * width * width > long(width) * width * height * height;
}

std::vector<std::uint32_t> MakeSprite(int width, int height) {
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[std::size_t(y) * width + x] =
          SpriteIsKey(width, height, x, y) ? kKey : 0xFF000000u | PictureColor((x * 7) % kScreenWidth, y);
    }
  }
  return pixels;
}

std::string ScratchPath(const std::string& name) { return (Folder() / name).string(); }

const std::string& Picture24Path() {
  static const std::string path = [] {
    const int rowBytes = (kScreenWidth * 3 + 3) & ~3;
    std::string file;
    file += "BM";
    Put32(file, 54 + rowBytes * kScreenHeight);
    Put32(file, 0);
    Put32(file, 54);
    Put32(file, 40);
    Put32(file, kScreenWidth);
    Put32(file, kScreenHeight);
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, 0);
    Put32(file, rowBytes * kScreenHeight);
    Put32(file, 2834);
    Put32(file, 2834);
    Put32(file, 0);
    Put32(file, 0);
    for (int y = kScreenHeight - 1; y >= 0; --y) {
      for (int x = 0; x < kScreenWidth; ++x) {
        const std::uint32_t c = PictureColor(x, y);
        file += char(c & 0xFF);
        file += char((c >> 8) & 0xFF);
        file += char((c >> 16) & 0xFF);
      }
      file.append(std::size_t(rowBytes - kScreenWidth * 3), '\0');
    }
    const std::string name = ScratchPath("picture24.bmp");
    std::ofstream(name, std::ios::binary).write(file.data(), std::streamsize(file.size()));
    return name;
  }();
  return path;
}

}  // namespace bench
