#pragma once

#include "gfx/screen_state.h"

namespace rt {

// A block of width x height pixels taken from (srcX, srcY) of a source and
// placed at (dstX, dstY) of a target. After ClipCopy every pixel of it lies
// inside both, so copy loops need no bounds tests.
struct CopyRect {
  int srcX = 0;
  int srcY = 0;
  int dstX = 0;
  int dstY = 0;
  int width = 0;
  int height = 0;
};

// Clips a copy of the source block (srcX, srcY, width, height) to target
// position (dstX, dstY) against `clip`: rows and columns outside it are
// dropped and the source start moves along. False when nothing is left.
// The wide destination type lets callers pass positions far off the target.
bool ClipCopy(const ClipRect& clip, long long dstX, long long dstY, int srcX, int srcY, int width, int height,
              CopyRect& out);

}  // namespace rt
