// Saving the 640 x 480 x 32 screen as a BMP file.
#include <fstream>
#include <iterator>

#include "gfx/bmp.h"
#include "our_screen.h"
#include "picture.h"
#include "sdl_peer.h"

namespace bench {

namespace {

const std::vector<Probe> kWholeScreen = ProbesIn(0, 0, kScreenWidth, kScreenHeight);

// The colour at (x, y) of a bottom-up 32-bit BMP file, as 0xRRGGBB.
std::uint32_t FilePixelRgb(const std::vector<std::uint8_t>& file, int x, int y) {
  if (file.size() < 54) return 0xDEADBEEF;
  const std::size_t offset = file[10] | file[11] << 8 | file[12] << 16 | std::size_t(file[13]) << 24;
  const std::size_t at = offset + (std::size_t(kScreenHeight - 1 - y) * kScreenWidth + x) * 4;
  if (at + 3 > file.size()) return 0xDEADBEEF;
  return std::uint32_t(file[at + 2]) << 16 | std::uint32_t(file[at + 1]) << 8 | file[at];
}

void CheckFile(benchmark::State& state, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  CheckPixels(
      state, kWholeScreen, [&](int x, int y) { return FilePixelRgb(file, x, y); },
      [](int x, int y) { return PictureColour(x, y); });
}

void BsaveOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  const std::string path = ScratchPath("ours.bmp");
  for (auto _ : state) {
    if (rt::Bsave(path) != 0) return state.SkipWithError("Bsave failed");
  }
  CheckFile(state, path);
}
BENCHMARK(BsaveOurs)->Name("Bsave/ours");

void BsaveSdl(benchmark::State& state) {
  SurfacePtr surface = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  const std::string path = ScratchPath("sdl.bmp");
  for (auto _ : state) {
    if (SDL_SaveBMP(surface.get(), path.c_str()) != 0) return state.SkipWithError(SDL_GetError());
  }
  CheckFile(state, path);
}
BENCHMARK(BsaveSdl)->Name("Bsave/SDL_SaveBMP");

}  // namespace

}  // namespace bench
