#pragma once

#include <algorithm>
#include <climits>

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
inline Rect Intersect(const Rect& a, const Rect& b) {
  if (a.Empty() || b.Empty()) return Rect{};
  const long long left = std::max(a.left, b.left);
  const long long top = std::max(a.top, b.top);
  const long long right = std::min((long long)a.left + a.width, (long long)b.left + b.width);
  const long long bottom = std::min((long long)a.top + a.height, (long long)b.top + b.height);
  if (right <= left || bottom <= top) return Rect{};
  return Rect{int(left), int(top), int(right - left), int(bottom - top)};
}

// Whether every pixel of `inner` lies in `outer`; an empty `inner` always does.
inline bool Contains(const Rect& outer, const Rect& inner) {
  if (inner.Empty()) return true;
  return inner.left >= outer.left && inner.top >= outer.top &&
         (long long)inner.left + inner.width <= (long long)outer.left + outer.width &&
         (long long)inner.top + inner.height <= (long long)outer.top + outer.height;
}

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
inline bool ClipBlock(const Rect& clip, long long x, long long y, int sourceX, int sourceY, int width,
                      int height, CopyBlock& out) {
  // A corner beyond the int range leaves every pixel of the block outside a
  // target, whose edges lie within it.
  if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX) return false;
  const Rect visible = Intersect(Rect{int(x), int(y), width, height}, clip);
  if (visible.Empty()) return false;
  out.sourceX = sourceX + (visible.left - int(x));
  out.sourceY = sourceY + (visible.top - int(y));
  out.target = visible;
  return true;
}

}  // namespace rt
