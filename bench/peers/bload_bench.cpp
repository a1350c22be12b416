// Loading a 640 x 480 24-bit BMP into 32-bit pixels.
#define STB_IMAGE_IMPLEMENTATION
#include <fcntl.h>
#include <stb/stb_image.h>
#include <unistd.h>

#include <algorithm>

#include "allegro_peer.h"
#include "gfx/bmp.h"
#include "our_screen.h"
#include "picture.h"
#include "sdl_peer.h"

namespace bench {

namespace {

const std::vector<Probe> kWholeScreen = ProbesIn(0, 0, kScreenWidth, kScreenHeight);

std::uint32_t Loaded(int x, int y) { return 0xFF000000u | PictureColour(x, y); }
std::uint32_t LoadedRgb(int x, int y) { return PictureColour(x, y); }

void BloadOurs(benchmark::State& state) {
  OurScreen screen;
  const std::string& path = Picture24Path();
  for (auto _ : state) {
    if (rt::Bload(path) != 0) return state.SkipWithError("Bload failed");
  }
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return screen.Pixel(x, y); }, Loaded);
}
BENCHMARK(BloadOurs)->Name("Bload/ours");

void BloadSdl(benchmark::State& state) {
  const std::string& path = Picture24Path();
  SurfacePtr result;
  for (auto _ : state) {
    SurfacePtr loaded(SDL_LoadBMP(path.c_str()));
    if (!loaded) return state.SkipWithError(SDL_GetError());
    result.reset(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  }
  if (!result) return state.SkipWithError("no surface");
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return SdlPixel(result.get(), x, y); }, Loaded);
}
BENCHMARK(BloadSdl)->Name("Bload/SDL_LoadBMP+ConvertSurfaceFormat");

void BloadStb(benchmark::State& state) {
  const std::string& path = Picture24Path();
  std::vector<std::uint32_t> pixels(std::size_t(kScreenWidth) * kScreenHeight);
  for (auto _ : state) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!rgba || width != kScreenWidth || height != kScreenHeight)
      return state.SkipWithError("stbi_load failed");
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const stbi_uc* p = rgba + 4 * i;
      pixels[i] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    }
    stbi_image_free(rgba);
  }
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return pixels[std::size_t(y) * kScreenWidth + x]; }, Loaded);
}
BENCHMARK(BloadStb)->Name("Bload/stbi_load+swizzle");

void BloadAllegro(benchmark::State& state) {
  const char* why = "";
  if (!allegro::Start(why)) return state.SkipWithError(why);
  const std::string& path = Picture24Path();
  BITMAP* result = nullptr;
  for (auto _ : state) {
    BITMAP* loaded = allegro::LoadBmp(path.c_str());
    if (!loaded) return state.SkipWithError("load_bmp failed");
    if (result) allegro::DestroyBitmap(result);
    result = loaded;
  }
  if (!result) return state.SkipWithError("no bitmap");
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return allegro::PixelRgb(result, x, y); }, LoadedRgb);
  allegro::DestroyBitmap(result);
}
BENCHMARK(BloadAllegro)->Name("Bload/allegro_load_bmp");

// The least any loader must do: read the file and write 1.2 MB of pixels.
void BloadFloor(benchmark::State& state) {
  const std::string& path = Picture24Path();
  std::vector<std::uint8_t> file(std::size_t(1) << 20);
  std::vector<std::uint32_t> pixels(std::size_t(kScreenWidth) * kScreenHeight);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = ::read(fd, file.data(), file.size());
    ::close(fd);
    if (got < 54) return state.SkipWithError("read failed");
    std::fill(pixels.begin(), pixels.end(), 0xFF000000u | file[got - 1]);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  const std::uint32_t expected = 0xFF000000u | (PictureColour(kScreenWidth - 1, 0) >> 16);
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return pixels[std::size_t(y) * kScreenWidth + x]; },
      [&](int, int) { return expected; });
}
BENCHMARK(BloadFloor)->Name("Bload/floor:read+write");

}  // namespace

}  // namespace bench
