#include "gfx/font.h"

#include <cassert>

#include "gfx/font_data.h"

namespace rt {

namespace {

constexpr BuiltinFont kFonts[] = {
    {8, kFont8x8},
    {14, kFont8x14},
    {16, kFont8x16},
};

}  // namespace

const BuiltinFont& FontByIndex(int index) {
  assert(index >= 0 && index < 3);
  if (index < 0 || index >= 3) return kFonts[2];
  return kFonts[index];
}

}  // namespace rt
