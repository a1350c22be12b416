#pragma once

#include <cstdint>
#include <memory>

#include "gfx/screen.h"
#include "rt/result.h"

namespace rt {

// A sprite: this 32-byte header followed by `height` rows of `pitch` bytes in
// the screen's pixel format (1 byte: palette index, 2: RGB 5-6-5, 4:
// 0xAARRGGBB). The header is 16-byte aligned and so, the pitch being a
// multiple of 16, is every row. Readers also accept a compact 4-byte header
// whose first word is not kImageType (see ImageSurface).
struct ImageBuffer {
  std::uint32_t type;
  std::uint32_t bytesPerPixel;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t pitch;
  std::uint8_t reserved[12];
};
static_assert(sizeof(ImageBuffer) == 32);

inline constexpr std::uint32_t kImageType = 7;

// The color key of each pixel size; at 4 bytes only the low 24 bits count.
inline constexpr std::uint32_t kTransparent32 = 0xFF00FF;
inline constexpr std::uint16_t kTransparent16 = 0xF81F;
inline constexpr std::uint8_t kTransparent8 = 0;

enum PutMode : int { PutTrans = 0, PutPset = 1 };

// Makes a width x height image at the screen's pixel size (depth <= 0) or at
// (depth + 7) / 8 bytes, which must be 1, 2 or 4. Without `colorGiven` it is
// filled with the transparent color; a given color is an index at 1 byte,
// 0xRRGGBB converted to 5-6-5 at 2 bytes and used as it stands at 4 bytes.
// nullptr (result 1 or 4) when no screen is open or the size is not positive.
ImageBuffer* ImageCreate(int width, int height, std::uint32_t color = 0, int depth = 0,
                         bool colorGiven = false);
// Frees an image from ImageCreate; nullptr is ignored.
void ImageDestroy(ImageBuffer* image);

struct ImageDeleter {
  void operator()(ImageBuffer* i) const { ImageDestroy(i); }
};
using ImagePtr = std::unique_ptr<ImageBuffer, ImageDeleter>;

// Copies `source` (or its rectangle srcX1,srcY1 - srcX2,srcY2 when srcX1 is
// not kOmitted) to (x, y) of `target` (nullptr: the screen's work page),
// clipped to the target's clip rectangle. Coordinates round half away from
// zero; coordMode must be 0. ResultIllegalCall for no screen, no source, a
// pixel size mismatch or an unknown mode; lying wholly outside is not an
// error. ResultOutOfMemory (nothing drawn) when an image keyed onto itself
// cannot be copied aside. Records the result.
Result Put(ImageBuffer* target, double x, double y, const ImageBuffer* source, int srcX1 = kOmitted,
           int srcY1 = 0, int srcX2 = 0, int srcY2 = 0, int coordMode = 0, int putMode = PutPset);

// The image's rows, from either header form. The compact form packs bytes per
// pixel (bits 0-2, 0 meaning the screen's), width (bits 3-15) and height
// (bits 16-31) into its first word, with unpadded rows from byte 4 on. An
// empty surface (width 0) for nullptr or a header that describes no image.
Surface ImageSurface(const ImageBuffer* image);

}  // namespace rt
