#include "gfx/image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/rect.h"
#include "gfx/text.h"
#include "gfx_fixture.h"

namespace rt {
namespace {

using test::GfxTest;
using test::Pixel;

// An image whose every pixel tells where it came from: 0xAA000000 | y << 8 | x.
ImagePtr NumberedImage(int width, int height) {
  ImagePtr image(ImageCreate(width, height));
  const Surface s = ImageSurface(image.get());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) Pixel(s, x, y) = 0xAA000000u | (y << 8) | x;
  return image;
}

constexpr std::uint32_t kBackground = 0xFF000000u;  // the cleared screen

using ImageCreateTest = GfxTest;
using PutTest = GfxTest;

TEST_F(ImageCreateTest, FillsEveryPaddedSlotWithTheKeyColor) {
  ImagePtr image(ImageCreate(17, 5, 0, 0, false));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(LastResult(), ResultOk);
  EXPECT_EQ(image->type, 7u);
  EXPECT_EQ(image->bytesPerPixel, 4u);
  EXPECT_EQ(image->width, 17u);
  EXPECT_EQ(image->height, 5u);
  EXPECT_EQ(image->pitch, 80u);
  for (int i = 4; i < 12; ++i) EXPECT_EQ(image->reserved[i], 0) << i;
  const auto* slots = reinterpret_cast<const std::uint32_t*>(image.get() + 1);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(slots[i], 0xFFFF00FFu) << i;
  const Surface s = ImageSurface(image.get());
  for (int y = 0; y < 5; ++y) EXPECT_EQ(reinterpret_cast<std::uintptr_t>(s.Row(y)) % 16, 0u) << y;
}

TEST_F(ImageCreateTest, RefusesEmptySizesAndOtherPixelSizes) {
  EXPECT_EQ(ImageCreate(0, 5), nullptr);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(ImageCreate(5, -1), nullptr);
  EXPECT_EQ(ImageCreate(5, 5, 0, 24), nullptr);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(ImageCreate(std::numeric_limits<int>::max(), 1), nullptr);
  EXPECT_EQ(LastResult(), ResultOutOfMemory);
  ScreenClose();
  EXPECT_EQ(ImageCreate(5, 5), nullptr);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
}

TEST_F(ImageCreateTest, GivenColorsFollowThePixelSize) {
  ImagePtr wide(ImageCreate(3, 1, 0x123456, 0, true));
  EXPECT_EQ(Pixel(ImageSurface(wide.get()), 2, 0), 0x00123456u);

  ImagePtr keyed16(ImageCreate(3, 1, 0, 16));
  ImagePtr given16(ImageCreate(3, 1, 0xFF8040, 16, true));
  ASSERT_EQ(keyed16->bytesPerPixel, 2u);
  EXPECT_EQ(keyed16->pitch, 16u);
  EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(keyed16.get() + 1)[7], 0xF81F);
  // Red 0xFF -> 31, green 0x80 -> 32, blue 0x40 -> 8.
  EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(given16.get() + 1)[0], (31 << 11) | (32 << 5) | 8);

  ImagePtr keyed8(ImageCreate(3, 1, 0, 8));
  ImagePtr given8(ImageCreate(3, 1, 9, 8, true));
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(keyed8.get() + 1)[15], 0);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(given8.get() + 1)[15], 9);
}

TEST(ImageSurfaceTest, ReadsTheCompactHeader) {
  ScreenClose();
  // 3 x 2 pixels at 4 bytes, rows unpadded, pixels right after the word.
  alignas(16) std::uint32_t block[1 + 6] = {4u | (3u << 3) | (2u << 16), 1, 2, 3, 4, 5, 6};
  const auto* image = reinterpret_cast<const ImageBuffer*>(block);
  const Surface s = ImageSurface(image);
  EXPECT_EQ(s.width, 3);
  EXPECT_EQ(s.height, 2);
  EXPECT_EQ(s.bytesPerPixel, 4);
  EXPECT_EQ(s.pitchBytes, 12);
  EXPECT_EQ(Pixel(s, 0, 1), 4u);
  // Bytes per pixel 0 means the screen's, and there is none open here.
  block[0] = (3u << 3) | (2u << 16);
  EXPECT_EQ(ImageSurface(image).width, 0);
  EXPECT_EQ(ImageSurface(nullptr).width, 0);
}

TEST_F(ImageCreateTest, CompactImagesDrawLikeTheirFullHeaderTwins) {
  alignas(16)
      std::uint32_t block[1 + 4] = {(2u << 3) | (2u << 16), 0x11111111, 0x22FF00FF, 0x33333333, 0x44444444};
  ASSERT_EQ(Put(nullptr, 10, 20, reinterpret_cast<const ImageBuffer*>(block), kOmitted, 0, 0, 0, 0, PutTrans),
            rt::ResultOk);
  EXPECT_EQ(ScreenPixel(10, 20), 0x00111111u);
  EXPECT_EQ(ScreenPixel(11, 20), kBackground);
  EXPECT_EQ(ScreenPixel(11, 21), 0x00444444u);
}

TEST_F(PutTest, TransSkipsKeyColorWhateverItsAlphaAndClearsAlphaOfTheRest) {
  // Eleven pixels so both the four-at-a-time part and the tail are covered.
  const std::uint32_t row[11] = {0x00FF00FF, 0xFFFF00FF, 0x12345678, 0xFF000000, 0x7FFF00FE, 0x01FF00FF,
                                 0xFFFFFFFF, 0x80FF00FF, 0xABCDEF01, 0xFFFF00FF, 0x00FF01FF};
  ImagePtr image(ImageCreate(11, 1));
  for (int x = 0; x < 11; ++x) Pixel(ImageSurface(image.get()), x, 0) = row[x];
  for (int x = 0; x < 11; ++x) ScreenPixel(100 + x, 7) = 0xFFABCDEF;

  ASSERT_EQ(Put(nullptr, 100, 7, image.get(), kOmitted, 0, 0, 0, 0, PutTrans), rt::ResultOk);
  for (int x = 0; x < 11; ++x) {
    const bool keyed = (row[x] & 0xFFFFFF) == 0xFF00FF;
    EXPECT_EQ(ScreenPixel(100 + x, 7), keyed ? 0xFFABCDEFu : row[x] & 0xFFFFFF) << x;
  }
  EXPECT_EQ(ScreenPixel(111, 7), kBackground);
}

// A keyed copy reads its image anew each time: whatever wrote to the image
// since the last copy shows in the next one, be it an operation of the
// runtime or a write straight into pixels handed out before that copy.
TEST_F(PutTest, AKeyedCopyShowsEveryWriteToItsImage) {
  constexpr int kWidth = 64, kHeight = 8;
  // Left half key, right half opaque, rows wide enough for every loop.
  const auto sprite = [] {
    ImagePtr image(ImageCreate(kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y)
      for (int x = kWidth / 2; x < kWidth; ++x) Pixel(ImageSurface(image.get()), x, y) = 0xFF102030u + x;
    return image;
  };
  // A patch that makes some key pixels opaque and some opaque ones the key.
  ImagePtr patch(ImageCreate(kWidth, kHeight, 0x00FF00FF, 0, true));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; x += 3) Pixel(ImageSurface(patch.get()), x, y) = 0xFF405060u + y;
  ASSERT_EQ(Bsave(PathOf("patch.bmp"), patch.get(), 24), ResultOk);

  struct Writer {
    const char* name;
    std::function<void(ImageBuffer*, const Surface& handedOut)> write;
  };
  const Writer writers[] = {
      {"Put", [&](ImageBuffer* image, const Surface&) { Put(image, 0, 0, patch.get()); }},
      {"keyed Put", [&](ImageBuffer* image,
                        const Surface&) { Put(image, 0, 0, patch.get(), kOmitted, 0, 0, 0, 0, PutTrans); }},
      {"Bload", [&](ImageBuffer* image, const Surface&) { Bload(PathOf("patch.bmp"), image); }},
      {"DrawString in a color",
       [](ImageBuffer* image, const Surface&) { DrawString(image, 5, 0, 4, "\xDB\xDB", 0x00FFFF); }},
      {"DrawString in the key",
       [](ImageBuffer* image, const Surface&) { DrawString(image, 40, 0, 4, "\xDB", 0xFF00FF); }},
      {"pixels handed out before",
       [](ImageBuffer*, const Surface& pixels) {
         for (int y = 0; y < kHeight; ++y) {
           Pixel(pixels, 3, y) = 0xFF0A0B0Cu;
           Pixel(pixels, 50, y) = kTransparent32;
         }
       }},
  };
  for (const Writer& writer : writers) {
    SCOPED_TRACE(writer.name);
    ImagePtr image = sprite();
    const Surface pixels = ImageSurface(image.get());
    ASSERT_EQ(Put(nullptr, 100, 100, image.get(), kOmitted, 0, 0, 0, 0, PutTrans), ResultOk);
    const std::vector<std::uint32_t> before(
        reinterpret_cast<const std::uint32_t*>(pixels.Row(0)),
        reinterpret_cast<const std::uint32_t*>(pixels.Row(kHeight - 1)) + kWidth);
    writer.write(image.get(), pixels);
    Cls();
    ASSERT_EQ(Put(nullptr, 100, 100, image.get(), kOmitted, 0, 0, 0, 0, PutTrans), ResultOk);
    bool changed = false;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t now = Pixel(pixels, x, y);
        changed = changed || now != before[std::size_t(y) * pixels.pitchBytes / 4 + x];
        const bool keyed = (now & 0xFFFFFF) == kTransparent32;
        ASSERT_EQ(ScreenPixel(100 + x, 100 + y), keyed ? kBackground : now & 0xFFFFFF) << x << "," << y;
      }
    EXPECT_TRUE(changed) << "the writer changed nothing";
  }
}

TEST_F(PutTest, PsetCopiesEveryPixelAlphaIncluded) {
  ImagePtr image(ImageCreate(3, 2));
  Pixel(ImageSurface(image.get()), 1, 1) = 0x12345678;
  ASSERT_EQ(Put(nullptr, 5, 6, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(5, 6), 0xFFFF00FFu);
  EXPECT_EQ(ScreenPixel(6, 7), 0x12345678u);
  EXPECT_EQ(ScreenPixel(8, 6), kBackground);
}

TEST_F(PutTest, CoordinatesRoundHalfAwayFromZero) {
  ImagePtr image = NumberedImage(8, 2);
  ASSERT_EQ(Put(nullptr, -3.5, 0.4, image.get()), rt::ResultOk);
  // -3.5 becomes -4: the first four columns fall off the left edge.
  EXPECT_EQ(ScreenPixel(0, 0), 0xAA000004u);
  EXPECT_EQ(ScreenPixel(3, 1), 0xAA000107u);
  EXPECT_EQ(ScreenPixel(4, 0), kBackground);

  ASSERT_EQ(Put(nullptr, 2.5, 10.5, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(2, 11), kBackground);
  EXPECT_EQ(ScreenPixel(3, 11), 0xAA000000u);
  EXPECT_EQ(ScreenPixel(10, 12), 0xAA000107u);
  EXPECT_EQ(ScreenPixel(3, 10), kBackground);
}

TEST_F(PutTest, ImagePastTheBottomDrawsAndMarksOnlyTheRowsOnScreen) {
  ImagePtr image = NumberedImage(4, 20);
  ClearDirty();
  ASSERT_EQ(Put(nullptr, 0, 470, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(0, 470), 0xAA000000u);
  EXPECT_EQ(ScreenPixel(3, 479), 0xAA000903u);
  EXPECT_EQ(DirtyRange(), std::make_pair(470, 479));
  EXPECT_EQ(DirtyCount(), 10);
}

TEST_F(PutTest, DrawingOnTheHiddenPageMarksNothing) {
  ImagePtr image = NumberedImage(4, 4);
  CurrentContext().workPage = 1;
  ClearDirty();
  ASSERT_EQ(Put(nullptr, 10, 10, image.get()), rt::ResultOk);
  EXPECT_EQ(DirtyCount(), 0);
  EXPECT_EQ(Pixel(ScreenSurface(), 10, 10), 0xAA000000u);
  CurrentContext().workPage = 0;
  EXPECT_EQ(ScreenPixel(10, 10), kBackground);
}

TEST_F(PutTest, RefusesBadArgumentsAndDrawsNothing) {
  ImagePtr small(ImageCreate(4, 4, 0x1234, 16, true));
  ImagePtr image = NumberedImage(4, 4);
  ClearDirty();
  EXPECT_EQ(Put(nullptr, 0, 0, small.get()), ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(Put(nullptr, 0, 0, nullptr), ResultIllegalCall);
  EXPECT_EQ(Put(nullptr, 0, 0, image.get(), kOmitted, 0, 0, 0, 1), ResultIllegalCall);
  EXPECT_EQ(Put(nullptr, 0, 0, image.get(), kOmitted, 0, 0, 0, 0, 2), ResultIllegalCall);
  EXPECT_EQ(ScreenPixel(0, 0), kBackground);
  EXPECT_EQ(DirtyCount(), 0);
  ScreenClose();
  EXPECT_EQ(Put(nullptr, 0, 0, image.get()), ResultIllegalCall);
}

TEST_F(PutTest, SourceRectangleCornersAreOrderedAndClamped) {
  ImagePtr image = NumberedImage(10, 10);
  ASSERT_EQ(Put(nullptr, 50, 60, image.get(), 7, 8, 2, 3), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(50, 60), 0xAA000302u);
  EXPECT_EQ(ScreenPixel(55, 65), 0xAA000807u);
  EXPECT_EQ(ScreenPixel(56, 60), kBackground);
  EXPECT_EQ(ScreenPixel(50, 66), kBackground);

  ASSERT_EQ(Put(nullptr, 200, 100, image.get(), -5, 2, 100, -7), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(200, 100), 0xAA000000u);
  EXPECT_EQ(ScreenPixel(209, 102), 0xAA000209u);
  EXPECT_EQ(ScreenPixel(210, 100), kBackground);
  EXPECT_EQ(ScreenPixel(200, 103), kBackground);
}

TEST_F(PutTest, CoordinatesFarOutsideOrNotNumbersDrawNothing) {
  ImagePtr image = NumberedImage(4, 4);
  ClearDirty();
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {1e12, -1e12, std::nan(""), inf, -inf, 2147483647.0, -2147483648.0}) {
    EXPECT_EQ(Put(nullptr, v, 0, image.get()), rt::ResultOk) << v;
    EXPECT_EQ(Put(nullptr, 0, v, image.get()), rt::ResultOk) << v;
  }
  EXPECT_EQ(DirtyCount(), 0);
  EXPECT_EQ(ScreenPixel(0, 0), kBackground);
}

TEST_F(PutTest, ClipsAtEveryEdgeOfTheScreen) {
  ImagePtr image = NumberedImage(10, 10);
  ASSERT_EQ(Put(nullptr, -3, -4, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(0, 0), 0xAA000403u);
  EXPECT_EQ(ScreenPixel(6, 5), 0xAA000909u);
  EXPECT_EQ(ScreenPixel(7, 0), kBackground);
  ASSERT_EQ(Put(nullptr, 635, 475, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(635, 475), 0xAA000000u);
  EXPECT_EQ(ScreenPixel(639, 479), 0xAA000404u);
  ASSERT_EQ(Put(nullptr, 640, 0, image.get()), rt::ResultOk);
  ASSERT_EQ(Put(nullptr, 0, -10, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(0, 0), 0xAA000403u);
}

TEST_F(PutTest, ScreenPositionsAreRelativeToTheView) {
  ImagePtr image = NumberedImage(10, 10);
  CurrentContext().clip = Rect{100, 50, 4, 3};
  ASSERT_EQ(Put(nullptr, 1, 1, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(101, 51), 0xAA000000u);
  EXPECT_EQ(ScreenPixel(103, 52), 0xAA000102u);
  EXPECT_EQ(ScreenPixel(104, 52), kBackground);
  EXPECT_EQ(ScreenPixel(101, 53), kBackground);
  // A view reaching past the page is cut to the page.
  CurrentContext().clip = Rect{630, 470, 100, 100};
  ASSERT_EQ(Put(nullptr, 5, 5, image.get()), rt::ResultOk);
  EXPECT_EQ(ScreenPixel(639, 479), 0xAA000404u);
}

TEST_F(PutTest, ImageTargetsClipToTheirWholeAreaAndMarkNothing) {
  ImagePtr target(ImageCreate(5, 5, 0x00111111, 0, true));
  ImagePtr image = NumberedImage(10, 10);
  CurrentContext().clip = Rect{1, 1, 1, 1};  // the screen's view does not apply
  ClearDirty();
  ASSERT_EQ(Put(target.get(), 2, 3, image.get()), rt::ResultOk);
  const Surface t = ImageSurface(target.get());
  EXPECT_EQ(Pixel(t, 2, 3), 0xAA000000u);
  EXPECT_EQ(Pixel(t, 4, 4), 0xAA000102u);
  EXPECT_EQ(Pixel(t, 1, 3), 0x00111111u);
  EXPECT_EQ(DirtyCount(), 0);
  // The padding beyond column 4 is not drawn into.
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(t.Row(4))[5], 0x00111111u);
}

TEST_F(PutTest, KeyedCopiesAtTwoAndOneBytesPerPixel) {
  ImagePtr target16(ImageCreate(4, 1, 0x00FF00, 16, true));
  ImagePtr sprite16(ImageCreate(4, 1, 0, 16));  // all 0xF81F
  reinterpret_cast<std::uint16_t*>(sprite16.get() + 1)[2] = 0x1234;
  ASSERT_EQ(Put(target16.get(), 0, 0, sprite16.get(), kOmitted, 0, 0, 0, 0, PutTrans), rt::ResultOk);
  const auto* px16 = reinterpret_cast<const std::uint16_t*>(target16.get() + 1);
  EXPECT_EQ(px16[0], 0x07E0);
  EXPECT_EQ(px16[2], 0x1234);
  ASSERT_EQ(Put(target16.get(), 0, 0, sprite16.get()), rt::ResultOk);
  EXPECT_EQ(px16[0], 0xF81F);

  ImagePtr target8(ImageCreate(4, 1, 5, 8, true));
  ImagePtr sprite8(ImageCreate(4, 1, 0, 8));  // all index 0
  reinterpret_cast<std::uint8_t*>(sprite8.get() + 1)[1] = 200;
  ASSERT_EQ(Put(target8.get(), 0, 0, sprite8.get(), kOmitted, 0, 0, 0, 0, PutTrans), rt::ResultOk);
  const auto* px8 = reinterpret_cast<const std::uint8_t*>(target8.get() + 1);
  EXPECT_EQ(px8[0], 5);
  EXPECT_EQ(px8[1], 200);
  EXPECT_EQ(px8[2], 5);
}

TEST_F(PutTest, PsetCopiesRowsOfEveryWidthExactlyInPlace) {
  // Row by row at an odd place: every width lands whole and touches nothing beside it.
  for (int width : {1, 3, 4, 5, 8, 13, 127, 128, 129, 300}) {
    Cls();
    ImagePtr image = NumberedImage(width, 3);
    ASSERT_EQ(Put(nullptr, 7, 11, image.get()), rt::ResultOk);
    for (int y = 10; y <= 14; ++y)
      for (int x = 0; x <= width + 8; ++x) {
        const bool inside = x >= 7 && x < 7 + width && y >= 11 && y < 14;
        const std::uint32_t expected = inside ? 0xAA000000u | ((y - 11) << 8) | (x - 7) : kBackground;
        ASSERT_EQ(ScreenPixel(x, y), expected) << "width " << width << " at " << x << "," << y;
      }
  }
}

TEST_F(PutTest, PsetOfWholeScreenWidthRowsCopiesOneBlockClippedAtTheBottom) {
  ImagePtr image(ImageCreate(640, 480));
  const Surface s = ImageSurface(image.get());
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) Pixel(s, x, y) = std::uint32_t(y * 640 + x);
  ASSERT_EQ(Put(nullptr, 0, 100, image.get()), rt::ResultOk);
  for (int y : {0, 99, 100, 101, 300, 479})
    for (int x : {0, 1, 320, 639})
      EXPECT_EQ(ScreenPixel(x, y), y < 100 ? kBackground : std::uint32_t((y - 100) * 640 + x))
          << x << "," << y;
}

TEST_F(PutTest, PsetOfAnImageOntoItselfCopiesAsIfThroughATemporary) {
  for (int shift : {1, -1}) {
    ImagePtr image = NumberedImage(40, 20);
    ImagePtr before = NumberedImage(40, 20);
    ASSERT_EQ(Put(image.get(), shift, shift, image.get()), rt::ResultOk);
    const Surface after = ImageSurface(image.get());
    const Surface original = ImageSurface(before.get());
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) {
        const int sx = x - shift, sy = y - shift;
        const bool copied = sx >= 0 && sx < 40 && sy >= 0 && sy < 20;
        ASSERT_EQ(Pixel(after, x, y), copied ? Pixel(original, sx, sy) : Pixel(original, x, y))
            << "shift " << shift << " at " << x << "," << y;
      }
  }
}

TEST_F(PutTest, TransOfAnImageOntoItselfCopiesAsIfThroughATemporary) {
  // Rows wider than any vector step, with keyed pixels in between.
  for (int shift : {1, -1, 5, -5}) {
    ImagePtr image = NumberedImage(40, 20);
    Surface pixels = ImageSurface(image.get());
    for (int x = 3; x < 40; x += 7) Pixel(pixels, x, 4) = kTransparent32;
    std::vector<std::uint32_t> original;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) original.push_back(Pixel(pixels, x, y));
    ASSERT_EQ(Put(image.get(), shift, shift, image.get(), kOmitted, 0, 0, 0, 0, PutTrans), rt::ResultOk);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) {
        const int sx = x - shift, sy = y - shift;
        const bool inside = sx >= 0 && sx < 40 && sy >= 0 && sy < 20;
        const std::uint32_t from = inside ? original[sy * 40 + sx] : 0;
        const bool copied = inside && (from & 0xFFFFFF) != kTransparent32;
        ASSERT_EQ(Pixel(pixels, x, y), copied ? (from & 0xFFFFFF) : original[y * 40 + x])
            << "shift " << shift << " at " << x << "," << y;
      }
  }
}

TEST(ClipBlockTest, KeepsOnlyTheOverlapAndMovesTheSourceStart) {
  const Rect clip{10, 20, 100, 50};
  CopyBlock b;
  ASSERT_TRUE(ClipBlock(clip, 5, 65, 1, 2, 30, 30, b));
  EXPECT_EQ(b.sourceX, 6);
  EXPECT_EQ(b.target.left, 10);
  EXPECT_EQ(b.target.width, 25);
  EXPECT_EQ(b.sourceY, 2);
  EXPECT_EQ(b.target.top, 65);
  EXPECT_EQ(b.target.height, 5);
  EXPECT_FALSE(ClipBlock(clip, 110, 20, 0, 0, 5, 5, b));
  EXPECT_FALSE(ClipBlock(clip, 10, 15, 0, 0, 5, 5, b));
  EXPECT_FALSE(ClipBlock(clip, -4000000000LL, 20, 0, 0, 5, 5, b));
  EXPECT_FALSE(ClipBlock(clip, 10, 20, 0, 0, 0, 5, b));
}

TEST(IntersectTest, FarEdgesPastTheIntRangeAreCutNotWrapped) {
  const int kMax = std::numeric_limits<int>::max();
  const Rect r = Intersect(Rect{10, 20, kMax, kMax}, Rect{0, 0, 640, 480});
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.width, 630);
  EXPECT_EQ(r.height, 460);
  EXPECT_TRUE(Intersect(Rect{700, 0, 10, 10}, Rect{0, 0, 640, 480}).Empty());
}

}  // namespace
}  // namespace rt
