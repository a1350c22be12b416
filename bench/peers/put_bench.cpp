// Copying a 32 x 32 and a 640 x 480 sprite onto the screen, keyed and opaque.
// The keyed copies meet the peers' plain keyed blits and their run-length
// forms, which skip the transparent runs instead of testing each pixel.
#include <cstring>
#include <string>

#include "allegro_peer.h"
#include "our_screen.h"
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

// The picture with the sprite copied onto it.
Frame Expected(const Placement& p, bool keyed) {
  Frame frame = FrameOf(PictureArgb());
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  if (keyed) {
    PutKeyed(frame, sprite, p.width, p.height, p.x, p.y);
  } else {
    PutOpaque(frame, sprite, p.width, p.height, p.x, p.y);
  }
  return frame;
}

void PutOurs(benchmark::State& state, Placement p, rt::PutMode mode) {
  OurScreen screen;
  screen.FillWithPicture();
  rt::ImagePtr image = MakeImage(MakeSprite(p.width, p.height), p.width, p.height);
  auto put = [&] { return rt::Put(nullptr, p.x, p.y, image.get(), rt::kOmitted, 0, 0, 0, 0, mode); };
  if (put() != 0) return Fail(state, "Put failed");
  if (!Verify(state, screen.Pixels(), Expected(p, mode == rt::PutTrans))) return;
  for (auto _ : state) put();
}

enum class SdlKey { None, Plain, Rle };

void PutSdl(benchmark::State& state, Placement p, SdlKey key) {
  SurfacePtr target = MakeSdlSurface(PictureArgb(), kScreenWidth, kScreenHeight);
  SurfacePtr source = MakeSdlSurface(MakeSprite(p.width, p.height), p.width, p.height);
  if (key != SdlKey::None) SDL_SetColorKey(source.get(), SDL_TRUE, kKey);
  if (key == SdlKey::Rle) SDL_SetSurfaceRLE(source.get(), 1);
  auto blit = [&] {
    SDL_Rect place{p.x, p.y, 0, 0};
    return SDL_BlitSurface(source.get(), nullptr, target.get(), &place);
  };
  // The first blit encodes the runs.
  if (blit() != 0) return Fail(state, SDL_GetError());
  if (key == SdlKey::Rle && !(source->flags & SDL_RLEACCEL)) return Fail(state, "SDL did not encode runs");
  if (!Verify(state, SdlFrame(target.get()), Expected(p, key != SdlKey::None))) return;
  for (auto _ : state) blit();
}

enum class AllegroCopy { Blit, MaskedBlit, RleSprite };

void PutAllegro(benchmark::State& state, Placement p, AllegroCopy copy) {
  const char* why = "";
  if (!allegro::Start(why)) return Fail(state, why);
  BITMAP* target = allegro::CreateBitmap(kScreenWidth, kScreenHeight);
  allegro::Fill(target, PictureArgb().data());
  BITMAP* source = allegro::CreateBitmap(p.width, p.height);
  allegro::Fill(source, MakeSprite(p.width, p.height).data());
  RLE_SPRITE* runs = copy == AllegroCopy::RleSprite ? allegro::MakeRleSprite(source) : nullptr;
  auto put = [&] {
    switch (copy) {
      case AllegroCopy::Blit: allegro::Blit(source, target, p.x, p.y); break;
      case AllegroCopy::MaskedBlit: allegro::MaskedBlit(source, target, p.x, p.y); break;
      case AllegroCopy::RleSprite: allegro::DrawRleSprite(runs, target, p.x, p.y); break;
    }
  };
  put();
  if (Verify(state, allegro::Pixels(target), Expected(p, copy != AllegroCopy::Blit))) {
    for (auto _ : state) put();
  }
  if (runs) allegro::DestroyRleSprite(runs);
  allegro::DestroyBitmap(source);
  allegro::DestroyBitmap(target);
}

// The least an opaque copy must do: memcpy the same bytes, in one piece
// where the rows are contiguous in both (the whole screen), else per row.
void PutFloorMemcpy(benchmark::State& state, Placement p) {
  std::vector<std::uint32_t> target = PictureArgb();
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  auto copy = [&] {
    if (p.width == kScreenWidth) {
      std::memcpy(&target[std::size_t(p.y) * kScreenWidth], sprite.data(), sprite.size() * 4);
      return;
    }
    for (int row = 0; row < p.height; ++row) {
      std::memcpy(&target[std::size_t(p.y + row) * kScreenWidth + p.x], &sprite[std::size_t(row) * p.width],
                  std::size_t(p.width) * 4);
    }
  };
  copy();
  if (!Verify(state, FrameOf(target), Expected(p, false))) return;
  for (auto _ : state) {
    copy();
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}

// The least a keyed copy must do: memcpy every opaque run of the sprite, the
// runs found before timing as the run-length peers encode theirs. The alpha
// of the copied pixels stays (the check compares colors only).
void PutTransFloorRuns(benchmark::State& state, Placement p) {
  std::vector<std::uint32_t> target = PictureArgb();
  const std::vector<std::uint32_t> sprite = MakeSprite(p.width, p.height);
  struct Run {
    std::size_t to;
    std::size_t from;
    std::size_t pixels;
  };
  std::vector<Run> runs;
  for (int row = 0; row < p.height; ++row) {
    for (int x = 0; x < p.width;) {
      if (SpriteIsKey(p.width, p.height, x, row)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < p.width && !SpriteIsKey(p.width, p.height, x, row)) ++x;
      runs.push_back({std::size_t(p.y + row) * kScreenWidth + p.x + start, std::size_t(row) * p.width + start,
                      std::size_t(x - start)});
    }
  }
  auto copy = [&] {
    for (const Run& run : runs) std::memcpy(&target[run.to], &sprite[run.from], run.pixels * 4);
  };
  copy();
  if (!Verify(state, FrameOf(target), Expected(p, true))) return;
  for (auto _ : state) {
    copy();
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}

std::string SizeName(const Placement& p) { return std::to_string(p.width) + "x" + std::to_string(p.height); }

const bool kRegistered = [] {
  for (const Placement& p : {kSmall, kFull}) {
    const std::string trans = "PutTrans_" + SizeName(p) + "/";
    const std::string pset = "PutPset_" + SizeName(p) + "/";
    benchmark::RegisterBenchmark((trans + "ours").c_str(), PutOurs, p, rt::PutTrans);
    benchmark::RegisterBenchmark((trans + "SDL_BlitSurface+colorkey").c_str(), PutSdl, p, SdlKey::Plain);
    benchmark::RegisterBenchmark((trans + "SDL_BlitSurface+colorkey+RLE").c_str(), PutSdl, p, SdlKey::Rle);
    benchmark::RegisterBenchmark((trans + "allegro_masked_blit").c_str(), PutAllegro, p,
                                 AllegroCopy::MaskedBlit);
    benchmark::RegisterBenchmark((trans + "allegro_draw_rle_sprite").c_str(), PutAllegro, p,
                                 AllegroCopy::RleSprite);
    benchmark::RegisterBenchmark((trans + "floor:memcpy_opaque_runs").c_str(), PutTransFloorRuns, p);
    benchmark::RegisterBenchmark((pset + "ours").c_str(), PutOurs, p, rt::PutPset);
    benchmark::RegisterBenchmark((pset + "SDL_BlitSurface").c_str(), PutSdl, p, SdlKey::None);
    benchmark::RegisterBenchmark((pset + "allegro_blit").c_str(), PutAllegro, p, AllegroCopy::Blit);
    benchmark::RegisterBenchmark((pset + "floor:memcpy").c_str(), PutFloorMemcpy, p);
  }
  return true;
}();

}  // namespace

}  // namespace bench
