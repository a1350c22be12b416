#include "game/assets.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>

#include "gfx/bmp.h"
#include "rt/file_channels.h"

namespace game {

namespace {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// A little-endian 32-bit field of the BMP information header; bytes beyond
// the end of the file stay 0, as does the whole field when the file is missing.
int ReadHeaderField(int fileNumber, long long position) {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  rt::FileGetAt(fileNumber, position, bytes, sizeof bytes);
  const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                              std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  return static_cast<int>(value);
}

// A damaged header can claim a picture of gigabytes. No file holds pixels in
// fewer than one bit each, so a size beyond that is not made and filled.
bool FileCanHold(std::string_view fileName, const PictureSize& size) {
  std::error_code error;
  const std::uintmax_t fileBytes = std::filesystem::file_size(std::string(fileName), error);
  return !error && std::uint64_t(size.width) * std::uint64_t(size.height) <= std::uint64_t(fileBytes) * 8;
}

PictureSize ReadPictureSize(std::string_view fileName) {
  const int fileNumber = rt::FreeFileNumber();
  rt::FileOpen(fileName, rt::FileModeInput, fileNumber);
  PictureSize size;
  size.width = ReadHeaderField(fileNumber, 19);
  size.height = ReadHeaderField(fileNumber, 23);
  rt::FileClose(fileNumber);
  return size;
}

}  // namespace

rt::ImagePtr LoadBitmapAsset(std::string_view fileName) {
  PictureSize size = ReadPictureSize(fileName);
  // A top-down file stores its height negated; INT_MIN has no magnitude.
  if (size.height < 0 && size.height != INT_MIN) size.height = -size.height;
  if (size.width <= 0 || size.height <= 0 || !FileCanHold(fileName, size)) return nullptr;
  rt::ImagePtr image(rt::ImageCreate(size.width, size.height));
  // Without an image Bload would load onto the screen instead.
  if (!image) return nullptr;
  rt::Bload(fileName, image.get());
  return image;
}

}  // namespace game
