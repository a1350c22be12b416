// Saving the 640 x 480 x 32 screen as a BMP file.
#include <cstring>
#include <fstream>
#include <iterator>

#include "gfx/bmp.h"
#include "our_screen.h"
#include "sdl_peer.h"

namespace bench {

namespace {

// The pixels of a bottom-up 32-bit BMP file; empty when it is not one.
Frame FilePixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  if (file.size() < 54 || file[28] != 32) return {};
  const std::size_t offset = file[10] | file[11] << 8 | file[12] << 16 | std::size_t(file[13]) << 24;
  const std::size_t rowBytes = std::size_t(kScreenWidth) * 4;
  if (offset + rowBytes * kScreenHeight > file.size()) return {};
  std::vector<std::uint32_t> topDown(std::size_t(kScreenWidth) * kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    std::memcpy(&topDown[std::size_t(y) * kScreenWidth], &file[offset + (kScreenHeight - 1 - y) * rowBytes],
                rowBytes);
  }
  return FrameOf(topDown);
}

const Frame& Saved() {
  static const Frame frame = FrameOf(PictureArgb());
  return frame;
}

void BsaveOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  const std::string path = ScratchPath("ours.bmp");
  if (rt::Bsave(path) != rt::ResultOk) return Fail(state, "Bsave failed");
  if (!Verify(state, FilePixels(path), Saved())) return;
  for (auto _ : state) {
    if (rt::Bsave(path) != rt::ResultOk) return state.SkipWithError("Bsave failed");
  }
}
BENCHMARK(BsaveOurs)->Name("Bsave/ours");

void BsaveSdl(benchmark::State& state) {
  SurfacePtr surface = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  const std::string path = ScratchPath("sdl.bmp");
  if (SDL_SaveBMP(surface.get(), path.c_str()) != 0) return Fail(state, SDL_GetError());
  if (!Verify(state, FilePixels(path), Saved())) return;
  for (auto _ : state) {
    if (SDL_SaveBMP(surface.get(), path.c_str()) != 0) return state.SkipWithError(SDL_GetError());
  }
}
BENCHMARK(BsaveSdl)->Name("Bsave/SDL_SaveBMP");

}  // namespace

}  // namespace bench
