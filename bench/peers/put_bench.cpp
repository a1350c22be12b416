// Copying a 32 x 32 and a 640 x 480 sprite onto the screen, keyed and opaque.
#include <cstring>
#include <string>

#include "allegro_peer.h"
#include "our_screen.h"
#include "picture.h"
#include "sdl_peer.h"

namespace bench {

namespace {

// The small sprite lands at an odd, unaligned place; the big one covers the screen.
struct Placement {
  int width;
  int height;
  int x;
  int y;
};
constexpr Placement kSmall{32, 32, 301, 203};
constexpr Placement kFull{kScreenWidth, kScreenHeight, 0, 0};

// What a copy leaves at (x, y): the sprite's pixel, or the picture where the
// sprite is keyed and the copy honours the key.
std::uint32_t Expected(const Placement& p, const std::vector<std::uint32_t>& sprite, bool keyed, int x,
                       int y) {
  const int sx = x - p.x;
  const int sy = y - p.y;
  if (keyed && SpriteIsKey(p.width, p.height, sx, sy)) return 0xFF000000u | PictureColour(x, y);
  const std::uint32_t pixel = sprite[std::size_t(sy) * p.width + sx];
  return keyed ? pixel & 0xFFFFFF : pixel;  // keyed copies write colours without alpha
}

void PutOurs(benchmark::State& state, Placement p, rt::PutMode mode) {
  OurScreen screen;
  screen.FillWithPicture();
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  rt::ImagePtr image = MakeImage(sprite, p.width, p.height);
  for (auto _ : state) rt::Put(nullptr, p.x, p.y, image.get(), rt::kOmitted, 0, 0, 0, 0, mode);
  CheckPixels(
      state, ProbesIn(p.x, p.y, p.width, p.height), [&](int x, int y) { return screen.Pixel(x, y); },
      [&](int x, int y) { return Expected(p, sprite, mode == rt::PutTrans, x, y); });
}

void PutSdl(benchmark::State& state, Placement p, bool keyed) {
  SurfacePtr target = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  SurfacePtr source = MakeSdlSurface(sprite, p.width, p.height);
  if (keyed) SDL_SetColorKey(source.get(), SDL_TRUE, kKey);
  for (auto _ : state) {
    SDL_Rect place{p.x, p.y, 0, 0};
    SDL_BlitSurface(source.get(), nullptr, target.get(), &place);
  }
  CheckPixels(
      state, ProbesIn(p.x, p.y, p.width, p.height),
      [&](int x, int y) { return SdlPixel(target.get(), x, y) & 0xFFFFFF; },
      [&](int x, int y) { return Expected(p, sprite, keyed, x, y) & 0xFFFFFF; });
}

void PutAllegro(benchmark::State& state, Placement p, bool keyed) {
  const char* why = "";
  if (!allegro::Start(why)) return state.SkipWithError(why);
  BITMAP* target = allegro::CreateBitmap(kScreenWidth, kScreenHeight);
  allegro::Fill(target, PictureArgb().data());
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  BITMAP* source = allegro::CreateBitmap(p.width, p.height);
  allegro::Fill(source, sprite.data());
  for (auto _ : state) {
    if (keyed) {
      allegro::MaskedBlit(source, target, p.x, p.y);
    } else {
      allegro::Blit(source, target, p.x, p.y);
    }
  }
  CheckPixels(
      state, ProbesIn(p.x, p.y, p.width, p.height),
      [&](int x, int y) { return allegro::PixelRgb(target, x, y); },
      [&](int x, int y) { return Expected(p, sprite, keyed, x, y) & 0xFFFFFF; });
  allegro::DestroyBitmap(source);
  allegro::DestroyBitmap(target);
}

// The least an opaque copy must do: one memcpy per row.
void PutFloorMemcpy(benchmark::State& state, Placement p) {
  std::vector<std::uint32_t> target = PictureArgb();
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  for (auto _ : state) {
    for (int row = 0; row < p.height; ++row) {
      std::memcpy(&target[std::size_t(p.y + row) * kScreenWidth + p.x], &sprite[std::size_t(row) * p.width],
                  std::size_t(p.width) * 4);
    }
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  CheckPixels(
      state, ProbesIn(p.x, p.y, p.width, p.height),
      [&](int x, int y) { return target[std::size_t(y) * kScreenWidth + x]; },
      [&](int x, int y) { return Expected(p, sprite, false, x, y); });
}

std::string SizeName(const Placement& p) { return std::to_string(p.width) + "x" + std::to_string(p.height); }

const bool kRegistered = [] {
  for (const Placement& p : {kSmall, kFull}) {
    const std::string trans = "PutTrans_" + SizeName(p) + "/";
    const std::string pset = "PutPset_" + SizeName(p) + "/";
    benchmark::RegisterBenchmark((trans + "ours").c_str(), PutOurs, p, rt::PutTrans);
    benchmark::RegisterBenchmark((trans + "SDL_BlitSurface+colorkey").c_str(), PutSdl, p, true);
    benchmark::RegisterBenchmark((trans + "allegro_masked_blit").c_str(), PutAllegro, p, true);
    benchmark::RegisterBenchmark((pset + "ours").c_str(), PutOurs, p, rt::PutPset);
    benchmark::RegisterBenchmark((pset + "SDL_BlitSurface").c_str(), PutSdl, p, false);
    benchmark::RegisterBenchmark((pset + "allegro_blit").c_str(), PutAllegro, p, false);
    benchmark::RegisterBenchmark((pset + "floor:memcpy").c_str(), PutFloorMemcpy, p);
  }
  return true;
}();

}  // namespace

}  // namespace bench
