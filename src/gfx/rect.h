#pragma once

#include "gfx/screen.h"

namespace rt {

// A rectangle of pixels: its top-left corner and its size. A width or height
// of 0 or less makes it empty.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return width <= 0 || height <= 0; }
};

// The whole of a surface.
inline Rect Bounds(const Surface& surface) { return Rect{0, 0, surface.width, surface.height}; }

// The part of `a` that lies inside `b`; an empty rectangle when they do not
// meet. The far edges are summed in 64 bits, so a rectangle reaching past
// the int range is cut rather than wrapped around.
Rect Intersect(const Rect& a, const Rect& b);

// A block of pixels copied from (sourceX, sourceY) of a source onto `target`
// of a target surface. After ClipBlock every pixel of it lies inside both,
// so copy loops need no bounds tests.
struct CopyBlock {
  int sourceX = 0;
  int sourceY = 0;
  Rect target;
};

// Clips the width x height block at (sourceX, sourceY) of a source, placed
// with its corner at (x, y), to `clip`, which lies inside the target: rows
// and columns outside it are dropped and the source start moves along. False
// when nothing is left. The wide position lets callers place a block far off
// the target.
bool ClipBlock(const Rect& clip, long long x, long long y, int sourceX, int sourceY, int width, int height,
               CopyBlock& out);

}  // namespace rt
