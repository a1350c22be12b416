#include "gfx/rect.h"

#include <algorithm>
#include <climits>

namespace rt {

Rect Intersect(const Rect& a, const Rect& b) {
  if (a.Empty() || b.Empty()) return Rect{};
  const long long left = std::max(a.left, b.left);
  const long long top = std::max(a.top, b.top);
  const long long right = std::min((long long)a.left + a.width, (long long)b.left + b.width);
  const long long bottom = std::min((long long)a.top + a.height, (long long)b.top + b.height);
  if (right <= left || bottom <= top) return Rect{};
  return Rect{int(left), int(top), int(right - left), int(bottom - top)};
}

bool ClipBlock(const Rect& clip, long long x, long long y, int sourceX, int sourceY, int width, int height,
               CopyBlock& out) {
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
