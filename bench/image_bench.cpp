// The per-frame graphics work of a round: the full-screen picture load and
// the two sprite copies.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/display_driver.h"
#include "gfx/image.h"
#include "gfx/screen.h"

namespace {

using namespace rt;

// The game's screen on the back end without a window (flags -1), with a
// 640 x 480 24-bit picture.
class Scene {
 public:
  Scene() {
    ScreenMode(18, 32, 2, -1, 0);
    ImagePtr picture(ImageCreate(640, 480));
    Fill(picture.get());
    pictureFile_ = (std::filesystem::temp_directory_path() / "morvanta-bench-background.bmp").string();
    Bsave(pictureFile_, picture.get(), 24);
  }
  ~Scene() {
    std::filesystem::remove(pictureFile_);
    ScreenClose();
  }
  const std::string& PictureFile() const { return pictureFile_; }

  // A sprite with a see-through border, like the game's falling objects.
  static ImagePtr Sprite(int size) {
    ImagePtr sprite(ImageCreate(size, size));
    const Surface s = ImageSurface(sprite.get());
    for (int y = 0; y < size; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(s.Row(y));
      for (int x = 0; x < size; ++x) {
        const int dx = x - size / 2, dy = y - size / 2;
        if (dx * dx + dy * dy < size * size / 4) row[x] = 0xFF000000u | std::uint32_t(x * 3 + y * 700);
      }
    }
    return sprite;
  }

 private:
  static void Fill(const ImageBuffer* image) {
    const Surface s = ImageSurface(image);
    for (int y = 0; y < s.height; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(s.Row(y));
      for (int x = 0; x < s.width; ++x) row[x] = std::uint32_t(x * 0x010203 + y * 0x030201);
    }
  }
  std::string pictureFile_;
};

void BM_BloadBackground24To32(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) benchmark::DoNotOptimize(Bload(scene.PictureFile()));
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 3);
}
BENCHMARK(BM_BloadBackground24To32);

// A 640 x 480 BMP of `bits` per pixel (8: a 256-color table; 16: 5-5-5, or
// 5-6-5 bit fields with `fields`; 24; 32), written byte by byte since Bsave
// writes only some of these forms.
std::string WriteBmp(int bits, bool fields) {
  constexpr int kWidth = 640, kHeight = 480;
  const std::uint32_t table = bits == 8 ? 256 * 4 : fields ? 12 : 0;
  const std::uint32_t rowBytes = (kWidth * bits / 8 + 3) & ~3u;
  const std::uint32_t offset = 14 + 40 + table;
  std::vector<std::uint8_t> file;
  auto put = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(std::uint8_t(value >> (8 * i)));
  };
  put(0x4D42, 2);
  put(offset + rowBytes * kHeight, 4);
  put(0, 4);
  put(offset, 4);
  for (std::uint32_t v : {40u, std::uint32_t(kWidth), std::uint32_t(kHeight)}) put(v, 4);
  put(1, 2);
  put(std::uint32_t(bits), 2);
  put(fields ? 3 : 0, 4);
  for (int i = 0; i < 5; ++i) put(0, 4);
  if (bits == 8)
    for (std::uint32_t i = 0; i < 256; ++i) put(i * 0x00030507u, 4);
  if (fields)
    for (std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) put(mask, 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) put(std::uint32_t(x * 0x010203 + y * 0x030201), bits / 8);
    for (std::uint32_t i = kWidth * bits / 8; i < rowBytes; ++i) put(0, 1);
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("morvanta-bench-" + std::to_string(bits) + (fields ? "-fields" : "") + ".bmp"))
                               .string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
  return path;
}

// Bload of the other common forms, beside the 24-bit picture above.
void BM_BloadForm(benchmark::State& state) {
  Scene scene;
  const std::string path = WriteBmp(int(state.range(0)), state.range(1) != 0);
  if (Bload(path) != ResultOk) state.SkipWithError("Bload failed");
  for (auto _ : state) benchmark::DoNotOptimize(Bload(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_BloadForm)
    ->ArgNames({"bits", "fields"})
    ->Args({8, 0})
    ->Args({16, 0})
    ->Args({16, 1})
    ->Args({24, 0})
    ->Args({32, 0});

void BM_PutTransSprite(benchmark::State& state) {
  Scene scene;
  ImagePtr sprite = Scene::Sprite(int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(Put(nullptr, 101, 57, sprite.get(), kOmitted, 0, 0, 0, 0, PutTrans));
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_PutTransSprite)->Arg(40)->Arg(64)->Arg(480);

void BM_PutPsetSprite(benchmark::State& state) {
  Scene scene;
  ImagePtr sprite = Scene::Sprite(int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Put(nullptr, 101, 57, sprite.get()));
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_PutPsetSprite)->Arg(40)->Arg(64)->Arg(480);

}  // namespace
