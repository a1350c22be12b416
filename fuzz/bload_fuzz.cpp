// Bload on arbitrary files, into screens of each depth and into images of
// several sizes and depths. The first input byte picks the target, the rest
// is the file. Beyond memory errors, the loader must answer a known result
// and never write outside a target's rows (row padding and headers keep
// their guard bytes).
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "gfx/bmp.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"

namespace rt::fuzz {
namespace {

constexpr std::uint8_t kGuard = 0xA5;

struct ImageShape {
  int width;
  int height;
  int depth;
};

struct ScreenShape {
  int mode;
  int depth;
  int pages;
};

// Small screens, which are cheap to switch between, at every depth; one has
// doubled scanlines. (The game's size is among the images.)
constexpr std::array<ScreenShape, 4> kScreens = {{{14, 32, 2}, {14, 16, 1}, {13, 8, 1}, {1, 2, 1}}};
constexpr std::array<ImageShape, 9> kImageShapes = {{
    {1, 1, 32},
    {3, 2, 32},
    {40, 20, 32},
    {17, 5, 16},
    {7, 9, 8},
    {64, 1, 16},
    {1, 64, 8},
    {640, 480, 32},
    {33, 33, 32},
}};
// Compact images (4-byte header, unpadded rows) at 1, 2 and 4 bytes.
constexpr std::array<ImageShape, 3> kCompactShapes = {{{5, 3, 8}, {9, 2, 16}, {6, 6, 32}}};
constexpr int kTargetCount = int(kScreens.size() + kImageShapes.size() + kCompactShapes.size());

void UseScreen(const ScreenShape& shape) {
  if (Screen() && Screen()->mode == shape.mode && Screen()->depth == shape.depth) return;
  SetDriverList({NullDriverEntry()});
  FuzzCheck(ScreenMode(shape.mode, shape.depth, shape.pages, 0, 0) == rt::ResultOk,
            "the null screen did not open");
}

void CheckResult(int result) {
  FuzzCheck(result == ResultOk || result == ResultIllegalCall || result == ResultFileIoError,
            "Bload answered a result it does not document for an existing file");
}

void LoadIntoScreen(const std::string& path, const ScreenShape& shape) {
  UseScreen(shape);
  CheckResult(Bload(path));
}

// Images are made once (any open screen will do, their depth is their own)
// and kept, since making the largest one costs more than a load.
ImageBuffer* KeptImage(int index) {
  static std::array<ImagePtr, kImageShapes.size()> images;
  if (!Screen()) UseScreen(kScreens[0]);
  const ImageShape& shape = kImageShapes[index];
  if (!images[index]) images[index].reset(ImageCreate(shape.width, shape.height, 0, shape.depth, true));
  FuzzCheck(images[index] != nullptr, "ImageCreate failed for a plain shape");
  return images[index].get();
}

// Fills every byte the loader must not touch with the guard and checks it
// after the load: the header and each row's padding.
void LoadIntoImage(const std::string& path, int index) {
  ImageBuffer* image = KeptImage(index);
  const ImageBuffer header = *image;
  auto* rows = reinterpret_cast<std::uint8_t*>(image) + sizeof(ImageBuffer);
  const std::size_t used = std::size_t(image->width) * image->bytesPerPixel;
  for (std::size_t y = 0; y < image->height; ++y)
    std::memset(rows + y * image->pitch + used, kGuard, image->pitch - used);
  CheckResult(Bload(path, image));
  FuzzCheck(std::memcmp(&header, image, sizeof header) == 0, "Bload changed the image header");
  for (std::size_t y = 0; y < image->height; ++y) {
    for (std::size_t x = used; x < image->pitch; ++x) {
      FuzzCheck(rows[y * image->pitch + x] == kGuard, "Bload wrote into row padding");
    }
  }
}

// The compact header sits in a buffer of exactly the image's size, so that
// a write past the last row is a heap overflow.
void LoadIntoCompactImage(const std::string& path, const ImageShape& shape) {
  if (!Screen()) UseScreen(kScreens[0]);
  const int bytesPerPixel = (shape.depth + 7) / 8;
  const std::uint32_t word =
      std::uint32_t(bytesPerPixel) | (std::uint32_t(shape.width) << 3) | (std::uint32_t(shape.height) << 16);
  auto buffer =
      std::make_unique<std::uint8_t[]>(sizeof word + std::size_t(shape.width) * shape.height * bytesPerPixel);
  std::memcpy(buffer.get(), &word, sizeof word);
  CheckResult(Bload(path, reinterpret_cast<ImageBuffer*>(buffer.get())));
  FuzzCheck(std::memcmp(buffer.get(), &word, sizeof word) == 0, "Bload changed the compact header");
}

}  // namespace
}  // namespace rt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt::fuzz;
  FuzzInput input(data, size);
  const int target = input.Byte() % kTargetCount;
  static const std::string path = ScratchFile("input.bmp");
  WriteScratchFile(path, input.Rest());
  if (target < int(kScreens.size())) {
    LoadIntoScreen(path, kScreens[target]);
    return 0;
  }
  const int image = target - int(kScreens.size());
  if (image < int(kImageShapes.size())) {
    LoadIntoImage(path, image);
  } else {
    LoadIntoCompactImage(path, kCompactShapes[image - kImageShapes.size()]);
  }
  return 0;
}
