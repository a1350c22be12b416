// Clearing the 640 x 480 x 32 screen.
#include <algorithm>

#include "gfx/text.h"
#include "our_screen.h"
#include "picture.h"
#include "sdl_peer.h"

namespace bench {

namespace {

constexpr std::uint32_t kBackground = 0xFF203040;

std::uint32_t Cleared(int, int) { return kBackground; }

const std::vector<Probe> kWholeScreen = ProbesIn(0, 0, kScreenWidth, kScreenHeight);

void ClsOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  rt::Color(0xFFFFFF, kBackground);
  for (auto _ : state) rt::Cls();
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return screen.Pixel(x, y); }, Cleared);
}
BENCHMARK(ClsOurs)->Name("Cls/ours");

void ClsSdlFillRect(benchmark::State& state) {
  SurfacePtr surface = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  for (auto _ : state) SDL_FillRect(surface.get(), nullptr, kBackground);
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return SdlPixel(surface.get(), x, y); }, Cleared);
}
BENCHMARK(ClsSdlFillRect)->Name("Cls/SDL_FillRect");

void ClsFloorFill(benchmark::State& state) {
  std::vector<std::uint32_t> pixels = PictureArgb();
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), kBackground);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return pixels[std::size_t(y) * kScreenWidth + x]; }, Cleared);
}
BENCHMARK(ClsFloorFill)->Name("Cls/floor:std::fill");

}  // namespace

}  // namespace bench
