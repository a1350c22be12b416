#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "gfx/bmp.h"
#include "gfx_fixture.h"

namespace rt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::BmpBuilder;

// Header field offsets of a file with a 40-byte info header.
constexpr std::size_t kOffsetField = 10, kInfoSizeField = 14, kWidthField = 18, kHeightField = 22,
                      kPlanesField = 26, kBitsField = 28, kCompressionField = 30;

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}
void Set16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}

Bytes Valid24() {
  BmpBuilder b;
  b.width = 8;
  b.height = 8;
  b.pixel = [](int x, int y) { return std::uint32_t(x * 30 + y); };
  return b.Build();
}

Bytes Valid8() {
  BmpBuilder b;
  b.width = 8;
  b.height = 8;
  b.bits = 8;
  return b.Build();
}

Bytes Edited(Bytes b, const std::function<void(Bytes&)>& edit) {
  edit(b);
  return b;
}

Bytes Rle(int bits, Bytes data) {
  BmpBuilder b;
  b.width = 8;
  b.height = 8;
  b.bits = bits;
  b.compression = bits == 8 ? 1 : 2;
  b.pixelData = std::move(data);
  return b.Build();
}

Bytes BitFields(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  BmpBuilder b;
  b.width = 8;
  b.height = 8;
  b.bits = 16;
  b.compression = 3;
  b.masks = {{red, green, blue, 0}};
  return b.Build();
}

struct Case {
  std::string name;
  Bytes file;
  bool targetUntouched = true;  // false where rows before the fault are converted
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> Corpus() {
  return {
      {"Empty", {}},
      {"OnlyTheFirstByte", {'B'}},
      {"WrongSignature", Edited(Valid24(), [](Bytes& b) { b[1] = 'A'; })},
      {"HeaderCutInsideTheFileHeader", Edited(Valid24(), [](Bytes& b) { b.resize(10); })},
      {"HeaderCutInsideTheInfoHeader", Edited(Valid24(), [](Bytes& b) { b.resize(30); })},
      {"InfoHeaderOf13Bytes", Edited(Valid24(), [](Bytes& b) { Set32(b, kInfoSizeField, 13); })},
      {"InfoHeaderOf4GiBPushesTheColorTableAway",
       Edited(Valid8(), [](Bytes& b) { Set32(b, kInfoSizeField, 0xFFFFFFFF); })},
      {"PixelOffsetPastTheEnd", Edited(Valid24(), [](Bytes& b) { Set32(b, kOffsetField, 100000); })},
      {"PixelOffsetAtTheTopOfTheRange",
       Edited(Valid24(), [](Bytes& b) { Set32(b, kOffsetField, 0xFFFFFFFF); })},
      {"WidthOfTwoToThe31MinusOne", Edited(Valid24(), [](Bytes& b) { Set32(b, kWidthField, 0x7FFFFFFF); })},
      {"BottomUpHeightOfTwoToThe31MinusOne",
       Edited(Valid24(), [](Bytes& b) { Set32(b, kHeightField, 0x7FFFFFFF); })},
      {"TopDownHeightOfTwoToThe31MinusOne",
       Edited(Valid24(), [](Bytes& b) { Set32(b, kHeightField, 0x80000001); }), false},
      {"MostNegativeHeight", Edited(Valid24(), [](Bytes& b) { Set32(b, kHeightField, 0x80000000); })},
      {"NegativeWidth", Edited(Valid24(), [](Bytes& b) { Set32(b, kWidthField, 0xFFFFFFF8); })},
      {"ZeroHeight", Edited(Valid24(), [](Bytes& b) { Set32(b, kHeightField, 0); })},
      {"TwoPlanes", Edited(Valid24(), [](Bytes& b) { Set16(b, kPlanesField, 2); })},
      {"SixtyFourBitsPerPixel", Edited(Valid24(), [](Bytes& b) { Set16(b, kBitsField, 64); })},
      {"ZeroBitsPerPixel", Edited(Valid24(), [](Bytes& b) { Set16(b, kBitsField, 0); })},
      {"ThreeBitsPerPixel", Edited(Valid8(), [](Bytes& b) { Set16(b, kBitsField, 3); })},
      {"CompressionFour", Edited(Valid24(), [](Bytes& b) { Set32(b, kCompressionField, 4); })},
      {"RunLengthEightOnTwentyFourBits", Edited(Valid24(), [](Bytes& b) { Set32(b, kCompressionField, 1); })},
      {"BitFieldsOnEightBits", Edited(Valid8(), [](Bytes& b) { Set32(b, kCompressionField, 3); })},
      {"RunLengthTopDown",
       Edited(Rle(8, {8, 1, 0, 1}), [](Bytes& b) { Set32(b, kHeightField, std::uint32_t(-8)); })},
      {"ZeroMasks", BitFields(0, 0, 0)},
      {"ZeroRedMask", BitFields(0, 0x03E0, 0x001F)},
      {"MaskWithAHole", BitFields(0x7C01, 0x03E0, 0x001C)},
      {"MasksCutOff", Edited(BitFields(0xF800, 0x07E0, 0x001F), [](Bytes& b) { b.resize(60); })},
      {"ColorTableCutShort", Edited(Valid8(), [](Bytes& b) { b.resize(54 + 500); })},
      {"RunPastTheRowEnd", Rle(8, {9, 1, 0, 1})},
      {"FourBitRunPastTheRowEnd", Rle(4, {9, 0x11, 0, 1})},
      {"AbsoluteRunPastTheRowEnd", Rle(8, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1})},
      {"AbsoluteRunCutShort", Rle(8, {0, 5, 1, 2})},
      {"DeltaPastTheTop", Rle(8, {0, 2, 0, 9, 1, 1, 0, 1})},
      {"DeltaPastTheRightEdge", Rle(8, {0, 2, 9, 0, 1, 1, 0, 1})},
      {"DeltaCutShort", Rle(8, {0, 2, 1})},
      {"MoreLinesThanTheImageHas", Rle(8, Bytes(2 * 10, 0))},
      {"RunLengthDataEndingEarly", Rle(8, {8, 1, 0, 0}), false},
  };
}

class MalformedBmpTest : public test::GfxTest, public ::testing::WithParamInterface<Case> {};

TEST_P(MalformedBmpTest, FailsWithAFileErrorAndWritesNothingOutside) {
  const Case& c = GetParam();
  test::WriteBytes(PathOf("bad.bmp"), c.file);
  // The target sits inside a larger buffer so that stray writes show.
  ImagePtr outer(ImageCreate(8, 24, 0x00ABCDEF, 0, true));
  auto* image = reinterpret_cast<ImageBuffer*>(ImageSurface(outer.get()).Row(8));
  *image = ImageBuffer{7, 4, 8, 8, outer->pitch, {}};
  const Surface s = ImageSurface(image);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) test::Pixel(s, x, y) = 0x00123456;

  EXPECT_EQ(Bload(PathOf("bad.bmp"), image), ResultFileIoError);
  EXPECT_EQ(LastResult(), ResultFileIoError);
  // Rows 0-7 lie before the target, row 8 is its header, 9-16 its pixels.
  const Surface whole = ImageSurface(outer.get());
  for (int y = 0; y < 24; ++y) {
    if (y == 8) continue;
    const bool inTarget = y >= 9 && y <= 16;
    if (inTarget && !c.targetUntouched) continue;
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(test::Pixel(whole, x, y), inTarget ? 0x00123456u : 0x00ABCDEFu) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedBmpTest, ::testing::ValuesIn(Corpus()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace rt
