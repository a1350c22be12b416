#include "gfx/clip.h"

#include <algorithm>

namespace rt {

namespace {

// One axis of ClipCopy: the part of [dst, dst + size) inside [low, low + span).
bool ClipSpan(long long low, long long span, long long dst, int src, int size, int& outSrc, int& outDst,
              int& outSize) {
  const long long first = std::max(dst, low);
  const long long end = std::min(dst + size, low + span);
  if (end <= first) return false;
  outSrc = static_cast<int>(src + (first - dst));
  outDst = static_cast<int>(first);
  outSize = static_cast<int>(end - first);
  return true;
}

}  // namespace

bool ClipCopy(const ClipRect& clip, long long dstX, long long dstY, int srcX, int srcY, int width, int height,
              CopyRect& out) {
  if (width <= 0 || height <= 0) return false;
  return ClipSpan(clip.left, clip.width, dstX, srcX, width, out.srcX, out.dstX, out.width) &&
         ClipSpan(clip.top, clip.height, dstY, srcY, height, out.srcY, out.dstY, out.height);
}

}  // namespace rt
