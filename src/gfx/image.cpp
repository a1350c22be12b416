#include "gfx/image.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "gfx/keyed_copy.h"
#include "gfx/pixel_fill.h"
#include "gfx/pixel_format.h"
#include "gfx/rect.h"
#include "gfx/screen_state.h"
#include "rt/out_of_memory.h"

namespace rt {

namespace {

constexpr std::align_val_t kImageAlignment{16};

// Width x bytes per pixel, padded to the next multiple of 16 (rows stay aligned).
std::uint64_t ImagePitch(int width, int bytesPerPixel) {
  return (std::uint64_t(width) * bytesPerPixel + 15) & ~std::uint64_t(15);
}

std::uint32_t FillColor(int bytesPerPixel, std::uint32_t color, bool colorGiven) {
  if (!colorGiven) {
    if (bytesPerPixel == 4) return 0xFF000000u | kTransparent32;
    return bytesPerPixel == 2 ? kTransparent16 : kTransparent8;
  }
  return ConvertColor(color, bytesPerPixel, 0xFF);
}

// Corners swapped into order, then clamped to the source.
void SourceRectangle(const Surface& src, int x1, int y1, int x2, int y2, int& x, int& y, int& w, int& h) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::clamp(x1, 0, src.width - 1);
  x2 = std::clamp(x2, 0, src.width - 1);
  y1 = std::clamp(y1, 0, src.height - 1);
  y2 = std::clamp(y2, 0, src.height - 1);
  x = x1;
  y = y1;
  w = x2 - x1 + 1;
  h = y2 - y1 + 1;
}

// Runs `copyRow(dst, src, pixels)` over every row of a clipped copy.
template <typename Pixel, typename RowOp>
void ForEachRow(const Surface& dst, const Surface& src, const CopyBlock& b, RowOp copyRow) {
  for (int row = 0; row < b.target.height; ++row) {
    auto* d = reinterpret_cast<Pixel*>(dst.Row(b.target.top + row)) + b.target.left;
    auto* s = reinterpret_cast<const Pixel*>(src.Row(b.sourceY + row)) + b.sourceX;
    copyRow(d, s, b.target.width);
  }
}

// The block's first pixel in the target and in the source.
std::uint8_t* TargetStart(const Surface& dst, const CopyBlock& b) {
  return dst.Row(b.target.top) + std::size_t(b.target.left) * dst.bytesPerPixel;
}
const std::uint8_t* SourceStart(const Surface& src, const CopyBlock& b) {
  return src.Row(b.sourceY) + std::size_t(b.sourceX) * src.bytesPerPixel;
}

// An image copied onto itself: rows are moved in the order that reads each
// source row before it is overwritten, as if copied through a temporary.
void PsetRowsWithin(const Surface& image, const CopyBlock& b) {
  const std::size_t rowBytes = std::size_t(b.target.width) * image.bytesPerPixel;
  const bool upwards = b.target.top <= b.sourceY;
  for (int i = 0; i < b.target.height; ++i) {
    const int row = upwards ? i : b.target.height - 1 - i;
    std::memmove(image.Row(b.target.top + row) + std::size_t(b.target.left) * image.bytesPerPixel,
                 image.Row(b.sourceY + row) + std::size_t(b.sourceX) * image.bytesPerPixel, rowBytes);
  }
}

void PsetRows(const Surface& dst, const Surface& src, const CopyBlock& b) {
  if (dst.pixels == src.pixels) return PsetRowsWithin(dst, b);
  CopyRows(TargetStart(dst, b), dst.pitchBytes, SourceStart(src, b), src.pitchBytes,
           std::size_t(b.target.width) * src.bytesPerPixel, b.target.height);
}

template <typename Pixel, Pixel key>
void TransRowKeyed(Pixel* d, const Pixel* s, int n) {
  for (int i = 0; i < n; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
}

void KeyedRows(const Surface& dst, const Surface& src, const CopyBlock& b) {
  switch (src.bytesPerPixel) {
    case 4:
      CopyKeyedRows32(TargetStart(dst, b), dst.pitchBytes, SourceStart(src, b), src.pitchBytes,
                      b.target.width, b.target.height, kTransparent32);
      break;
    case 2: ForEachRow<std::uint16_t>(dst, src, b, TransRowKeyed<std::uint16_t, kTransparent16>); break;
    default: ForEachRow<std::uint8_t>(dst, src, b, TransRowKeyed<std::uint8_t, kTransparent8>);
  }
}

void TransRows(const Surface& dst, const Surface& src, const CopyBlock& b) {
  if (dst.pixels != src.pixels) return KeyedRows(dst, src, b);
  // An image keyed onto itself: every source row is read before any is
  // written, as if copied through a temporary.
  const std::size_t rowBytes = std::size_t(b.target.width) * src.bytesPerPixel;
  std::vector<std::uint8_t> copy(rowBytes * std::size_t(b.target.height));
  for (int row = 0; row < b.target.height; ++row) {
    std::memcpy(copy.data() + std::size_t(row) * rowBytes,
                src.Row(b.sourceY + row) + std::size_t(b.sourceX) * src.bytesPerPixel, rowBytes);
  }
  const Surface rows{copy.data(), b.target.width, b.target.height, int(rowBytes), src.bytesPerPixel, false};
  KeyedRows(dst, rows, CopyBlock{0, 0, b.target});
}

}  // namespace

ImageBuffer* ImageCreate(int width, int height, std::uint32_t color, int depth, bool colorGiven) {
  ScreenState* screen = Screen();
  if (!screen || width <= 0 || height <= 0) return SetLastResult(ResultIllegalCall), nullptr;
  const int bytesPerPixel = depth <= 0 ? screen->bytesPerPixel : (depth + 7) / 8;
  if (bytesPerPixel != 1 && bytesPerPixel != 2 && bytesPerPixel != 4) {
    return SetLastResult(ResultIllegalCall), nullptr;
  }
  const std::uint64_t pitch = ImagePitch(width, bytesPerPixel);
  // The header stores the pitch in 32 bits and Surface in an int.
  if (pitch > std::uint64_t(std::numeric_limits<int>::max()))
    return SetLastResult(ResultOutOfMemory), nullptr;
  const std::uint64_t pixelBytes = pitch * std::uint64_t(height);
  void* block = ::operator new(sizeof(ImageBuffer) + pixelBytes, kImageAlignment, std::nothrow);
  if (!block) return SetLastResult(ResultOutOfMemory), nullptr;

  auto* image = static_cast<ImageBuffer*>(block);
  *image = ImageBuffer{kImageType,           std::uint32_t(bytesPerPixel),
                       std::uint32_t(width), std::uint32_t(height),
                       std::uint32_t(pitch), {}};
  FillPixels(reinterpret_cast<std::uint8_t*>(image + 1), pixelBytes / bytesPerPixel, bytesPerPixel,
             FillColor(bytesPerPixel, color, colorGiven));
  SetLastResult(ResultOk);
  return image;
}

void ImageDestroy(ImageBuffer* image) {
  if (image) ::operator delete(image, kImageAlignment);
}

Surface ImageSurface(const ImageBuffer* image) {
  if (!image) return {};
  auto* bytes = reinterpret_cast<std::uint8_t*>(const_cast<ImageBuffer*>(image));
  if (image->type == kImageType) {
    const std::uint32_t bpp = image->bytesPerPixel;
    if (bpp != 1 && bpp != 2 && bpp != 4) return {};
    if (image->width == 0 || image->height == 0 || image->width > 0x7FFFFFFFu / bpp) return {};
    if (image->height > 0x7FFFFFFFu || image->pitch > 0x7FFFFFFFu || image->pitch < image->width * bpp)
      return {};
    return Surface{bytes + sizeof(ImageBuffer), int(image->width), int(image->height),
                   int(image->pitch),           int(bpp),          false};
  }
  const std::uint32_t word = image->type;
  int bpp = int(word & 7);
  if (bpp == 0 && Screen()) bpp = Screen()->bytesPerPixel;
  if (bpp != 1 && bpp != 2 && bpp != 4) return {};
  const int width = int((word >> 3) & 0x1FFF);
  const int height = int(word >> 16);
  if (width == 0 || height == 0) return {};
  return Surface{bytes + 4, width, height, width * bpp, bpp, false};
}

Result Put(ImageBuffer* target, double x, double y, const ImageBuffer* source, int srcX1, int srcY1,
           int srcX2, int srcY2, int coordMode, int putMode) {
  const ScreenState* screen = Screen();
  if (!screen || !source || coordMode != 0 || (putMode != PutTrans && putMode != PutPset)) {
    return SetLastResult(ResultIllegalCall);
  }
  const DrawContext& context = CurrentContext();
  const Surface dst = target ? ImageSurface(target) : WorkPageSurface(*screen, context);
  const Surface src = ImageSurface(source);
  if (dst.width == 0 || src.width == 0 || src.bytesPerPixel != dst.bytesPerPixel) {
    return SetLastResult(ResultIllegalCall);
  }

  int px = 0;
  int py = 0;
  if (!RoundCoordinate(x, px) || !RoundCoordinate(y, py)) return SetLastResult(ResultOk);

  int sx = 0;
  int sy = 0;
  int sw = src.width;
  int sh = src.height;
  if (srcX1 != kOmitted) SourceRectangle(src, srcX1, srcY1, srcX2, srcY2, sx, sy, sw, sh);

  // An image clips to its whole area. On the screen positions are relative
  // to the view, which clips, as far as it lies on the page.
  const Rect& view = context.clip;
  const long long dstX = target ? px : (long long)px + view.left;
  const long long dstY = target ? py : (long long)py + view.top;
  const Rect clip = target ? Bounds(dst) : Intersect(view, Bounds(dst));
  CopyBlock block;
  if (!ClipBlock(clip, dstX, dstY, sx, sy, sw, sh, block)) return SetLastResult(ResultOk);

  Result result = ResultOk;
  ScreenLock();
  if (putMode == PutPset) {
    PsetRows(dst, src, block);
  } else {
    // An image keyed onto itself goes through a copy, which memory may refuse.
    result = OutOfMemoryAsResult([&] {
      TransRows(dst, src, block);
      return ResultOk;
    });
  }
  if (dst.isVisiblePage) MarkDirty(block.target.top, block.target.top + block.target.height - 1);
  ScreenUnlock(1, 0);
  return SetLastResult(result);
}

}  // namespace rt
