// Clearing the 640 x 480 x 32 screen.
#include <cstring>

#include "allegro_peer.h"
#include "gfx/text.h"
#include "our_screen.h"
#include "sdl_peer.h"

namespace bench {

namespace {

constexpr std::uint32_t kBackground = 0xFF203040;

const Frame& Cleared() {
  static const Frame frame(std::size_t(kScreenWidth) * kScreenHeight, kBackground & 0xFFFFFF);
  return frame;
}

void ClsOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  rt::Color(0xFFFFFF, kBackground);
  rt::Cls();
  if (!Verify(state, screen.Pixels(), Cleared())) return;
  for (auto _ : state) rt::Cls();
}
BENCHMARK(ClsOurs)->Name("Cls/ours");

void ClsSdlFillRect(benchmark::State& state) {
  SurfacePtr surface = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  SDL_FillRect(surface.get(), nullptr, kBackground);
  if (!Verify(state, SdlFrame(surface.get()), Cleared())) return;
  for (auto _ : state) SDL_FillRect(surface.get(), nullptr, kBackground);
}
BENCHMARK(ClsSdlFillRect)->Name("Cls/SDL_FillRect");

void ClsAllegro(benchmark::State& state) {
  const char* why = "";
  if (!allegro::Start(why)) return Fail(state, why);
  BITMAP* bitmap = allegro::CreateBitmap(kScreenWidth, kScreenHeight);
  allegro::Fill(bitmap, PictureArgb().data());
  allegro::Clear(bitmap, kBackground);
  if (Verify(state, allegro::Pixels(bitmap), Cleared())) {
    for (auto _ : state) allegro::Clear(bitmap, kBackground);
  }
  allegro::DestroyBitmap(bitmap);
}
BENCHMARK(ClsAllegro)->Name("Cls/allegro_clear_to_color");

// The least a clear must do: store the same 1,228,800 bytes. memset stores
// one byte value, so this floor fills with a grey, not the clear's color.
void ClsFloorMemset(benchmark::State& state) {
  std::vector<std::uint32_t> pixels = PictureArgb();
  const std::size_t bytes = pixels.size() * 4;
  std::memset(pixels.data(), 0x20, bytes);
  if (!Verify(state, FrameOf(pixels), Frame(pixels.size(), 0x202020))) return;
  for (auto _ : state) {
    std::memset(pixels.data(), 0x20, bytes);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ClsFloorMemset)->Name("Cls/floor:memset");

}  // namespace

}  // namespace bench
