#include "support/game_pictures.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/assets.h"

namespace game::test {

namespace fs = std::filesystem;

namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

std::string EncodeBmp(int width, int height, const std::function<std::uint32_t(int x, int y)>& colorAt) {
  const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * height;
  std::string file = "BM";
  file.reserve(54 + imageBytes);
  PutLittleEndian(file, 54 + imageBytes, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 54, 4);
  PutLittleEndian(file, 40, 4);
  PutLittleEndian(file, width, 4);
  PutLittleEndian(file, height, 4);
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, 24, 2);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, imageBytes, 4);
  PutLittleEndian(file, 2834, 4);
  PutLittleEndian(file, 2834, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = file.size();
    for (int x = 0; x < width; ++x) PutLittleEndian(file, colorAt(x, y), 3);
    file.resize(rowStart + rowBytes, 0);
  }
  return file;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A square sprite whose corner pixels carry the transparent key.
std::function<std::uint32_t(int, int)> KeyedSquare(std::uint32_t color) {
  return [color](int x, int y) {
    const bool corner = (x == 0 || x == kObjectSize - 1) && (y == 0 || y == kObjectSize - 1);
    return corner ? kTransparentKey : color;
  };
}

}  // namespace

std::uint32_t SpriteColor(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::WhiteStone: return kWhiteStoneColor;
    case ObjectKind::BlackStone: return kBlackStoneColor;
    case ObjectKind::Heart: return kHeartColor;
    case ObjectKind::Money: return kMoneyColor;
    case ObjectKind::Ufo: return kUfoColor;
  }
  return 0;
}

std::uint32_t BackgroundColorAt(int x, int y) {
  return std::uint32_t(0x10 + x / 40) << 16 | std::uint32_t(0x18 + y / 8) << 8 | std::uint32_t(0x40 + y % 64);
}

void WriteBmp(const fs::path& path, int width, int height,
              const std::function<std::uint32_t(int x, int y)>& colorAt) {
  WriteFile(path, EncodeBmp(width, height, colorAt));
}

void WriteGamePictures(const fs::path& folder) {
  // Made once: every scenario, and every input of a fuzzer, writes them anew.
  static const std::vector<std::pair<std::string_view, std::string>> pictures = {
      {kBackgroundPicture, EncodeBmp(640, 480, BackgroundColorAt)},
      {kIntroPicture, EncodeBmp(640, 480, [](int, int) { return kIntroColor; })},
      {kCatcherPicture, EncodeBmp(kCatcherWidth, kCatcherHeight, [](int, int) { return kCatcherColor; })},
      {kWhiteStonePicture, EncodeBmp(kObjectSize, kObjectSize, KeyedSquare(kWhiteStoneColor))},
      {kBlackStonePicture, EncodeBmp(kObjectSize, kObjectSize, KeyedSquare(kBlackStoneColor))},
      {kHeartPicture, EncodeBmp(kObjectSize, kObjectSize, KeyedSquare(kHeartColor))},
      {kMoneyPicture, EncodeBmp(kObjectSize, kObjectSize, KeyedSquare(kMoneyColor))},
      {kUfoPicture, EncodeBmp(kObjectSize, kObjectSize, KeyedSquare(kUfoColor))},
  };
  for (const auto& [name, bytes] : pictures) WriteFile(folder / name, bytes);
}

}  // namespace game::test
