// SDL2 surfaces as a peer: ARGB8888, copied without blending.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "expected.h"

namespace bench {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

inline SurfacePtr MakeSdlSurface(int width, int height) {
  SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
  if (s) SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
  return s;
}

inline SurfacePtr MakeSdlSurface(const std::vector<std::uint32_t>& argb, int width, int height) {
  SurfacePtr s = MakeSdlSurface(width, height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(static_cast<std::uint8_t*>(s->pixels) + std::ptrdiff_t(y) * s->pitch,
                &argb[std::size_t(y) * width], std::size_t(width) * 4);
  }
  return s;
}

inline Frame SdlFrame(const SDL_Surface* s) {
  return FrameOf(static_cast<const std::uint32_t*>(s->pixels), s->pitch / 4);
}

}  // namespace bench
