#include "game/assets.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>

#include "gfx/bmp.h"
#include "rt/file_channels.h"

namespace game {

namespace {

// The header fields the loader reads; a field the file does not reach is 0.
struct PictureHeader {
  int width = 0;
  int height = 0;
  int compression = 0;
};

// The compression codes of run-length files, whose codes of two bytes paint
// up to 255 pixels each.
constexpr int kRunLength8 = 1;
constexpr int kRunLength4 = 2;

// A little-endian 32-bit field of the BMP information header; bytes beyond
// the end of the file stay 0, as does the whole field when the file is missing.
int ReadHeaderField(int fileNumber, long long position) {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  rt::FileGetAt(fileNumber, position, bytes, sizeof bytes);
  const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                              std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  return static_cast<int>(value);
}

// A damaged header can claim a picture of gigabytes, so a size beyond what
// the file can describe is not made and filled: uncompressed pixels take a
// bit each at least, run-length codes paint at most 255 pixels per 2 bytes.
bool FileCanHold(std::string_view fileName, const PictureHeader& header) {
  std::error_code error;
  const std::uintmax_t fileBytes = std::filesystem::file_size(std::string(fileName), error);
  const bool runLength = header.compression == kRunLength8 || header.compression == kRunLength4;
  const std::uint64_t pixelsPerByte = runLength ? 128 : 8;
  return !error && std::uint64_t(header.width) * std::uint64_t(header.height) <=
                       std::uint64_t(fileBytes) * pixelsPerByte;
}

PictureHeader ReadPictureHeader(std::string_view fileName) {
  const int fileNumber = rt::FreeFileNumber();
  rt::FileOpen(fileName, rt::FileModeInput, fileNumber);
  PictureHeader header;
  header.width = ReadHeaderField(fileNumber, 19);
  header.height = ReadHeaderField(fileNumber, 23);
  header.compression = ReadHeaderField(fileNumber, 31);
  rt::FileClose(fileNumber);
  return header;
}

}  // namespace

rt::ImagePtr LoadBitmapAsset(std::string_view fileName) {
  PictureHeader header = ReadPictureHeader(fileName);
  // A top-down file stores its height negated; INT_MIN has no magnitude.
  if (header.height < 0 && header.height != INT_MIN) header.height = -header.height;
  if (header.width <= 0 || header.height <= 0 || !FileCanHold(fileName, header)) return nullptr;
  rt::ImagePtr image(rt::ImageCreate(header.width, header.height));
  // Without an image Bload would load onto the screen instead.
  if (!image) return nullptr;
  rt::Bload(fileName, image.get());
  return image;
}

}  // namespace game
