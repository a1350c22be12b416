// The per-frame graphics work of a round: the full-screen picture load and
// the two sprite copies.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

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
