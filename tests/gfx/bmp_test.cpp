#include "gfx/bmp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "gfx/bmp_pixels.h"
#include "gfx_fixture.h"
#include "support/file_size_limit.h"
#include "support/hang_alarm.h"
#include "support/unprivileged.h"

namespace rt {
namespace {

using test::BmpBuilder;
using test::Pixel;
using test::ReadFileBytes;
using test::WriteBytes;

// A color that differs per channel, row and column, so swapped channels or
// rows show: red from x, green from y, blue from both.
std::uint32_t Color(int x, int y) {
  return (std::uint32_t(x * 6) << 16) | (std::uint32_t(y * 12) << 8) | ((x + 3 * y) & 0xFF);
}

// 256 distinct palette colors (0xRRGGBB).
std::vector<std::uint32_t> RainbowPalette() {
  std::vector<std::uint32_t> palette;
  for (std::uint32_t i = 0; i < 256; ++i) palette.push_back((i << 16) | ((255 - i) << 8) | ((i * 7) & 0xFF));
  return palette;
}

BmpBuilder Picture24(int width, int height) {
  BmpBuilder b;
  b.width = width;
  b.height = height;
  b.pixel = Color;
  return b;
}

class BmpTest : public test::GfxTest {
 protected:
  // Writes the file and loads it into a fresh 4-byte image of the given size.
  ImagePtr Load(const std::vector<std::uint8_t>& file, int width, int height, int expected = ResultOk) {
    WriteBytes(PathOf("in.bmp"), file);
    ImagePtr image(ImageCreate(width, height, 0x00123456, 0, true));
    EXPECT_EQ(Bload(PathOf("in.bmp"), image.get()), expected);
    EXPECT_EQ(LastResult(), expected);
    return image;
  }
  // Expects every pixel of `image` to be `expected(x, y)`.
  template <typename F>
  static void ExpectPixels(const ImageBuffer* image, F expected) {
    const Surface s = ImageSurface(image);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) ASSERT_EQ(Pixel(s, x, y), expected(x, y)) << x << "," << y;
  }
};

using BloadTest = BmpTest;
using BsaveTest = BmpTest;

TEST_F(BloadTest, BottomUp24BitRowsLandInOrderAsOpaqueColors) {
  ImagePtr image = Load(Picture24(40, 20).Build(), 40, 20);
  ExpectPixels(image.get(), [](int x, int y) { return 0xFF000000u | Color(x, y); });
}

TEST_F(BloadTest, TopDownFileGivesTheSameImage) {
  BmpBuilder b = Picture24(40, 20);
  b.height = -20;
  ImagePtr image = Load(b.Build(), 40, 20);
  ExpectPixels(image.get(), [](int x, int y) { return 0xFF000000u | Color(x, y); });
}

TEST_F(BloadTest, EightBitPixelsTakeOpaqueColorsFromTheTableWhichTheScreenKeeps) {
  BmpBuilder b;
  b.width = 37;
  b.height = 9;
  b.bits = 8;
  b.palette = RainbowPalette();
  b.pixel = [](int x, int y) { return std::uint32_t(x * 7 + y) & 0xFF; };
  ImagePtr image = Load(b.Build(), 37, 9);
  ExpectPixels(image.get(), [&](int x, int y) { return 0xFF000000u | b.palette[(x * 7 + y) & 0xFF]; });
  // The screen's table holds 0x00BBGGRR.
  EXPECT_EQ(Screen()->palette[1], 0x0007FE01u);
}

TEST_F(BloadTest, PackedOneTwoAndFourBitRowsUnpackLeftmostPixelFirst) {
  for (int bits : {1, 2, 4}) {
    SCOPED_TRACE(bits);
    BmpBuilder b;
    b.width = 13;  // not a whole number of bytes, so row padding is exercised
    b.height = 3;
    b.bits = bits;
    b.palette = RainbowPalette();
    const std::uint32_t mask = (1u << bits) - 1;
    b.pixel = [mask](int x, int y) { return std::uint32_t(x + 2 * y) & mask; };
    ImagePtr image = Load(b.Build(), 13, 3);
    ExpectPixels(image.get(), [&](int x, int y) { return 0xFF000000u | b.palette[(x + 2 * y) & mask]; });
  }
}

// Color tables shorter than 2^bits, as pictures of few colors have them:
// the loader takes the entries the file holds (by its color count, or as
// many as fit before the pixels); the rest are black, and so is every pixel
// whose index lies past the table.
struct ShortTableCase {
  std::string name;
  BmpBuilder file;
  std::uint32_t entriesTaken;
};

void PrintTo(const ShortTableCase& c, std::ostream* os) { *os << c.name; }

BmpBuilder Indexed(int bits, int width, int height, std::uint32_t colorsUsed, std::uint32_t tableEntries,
                   std::uint32_t infoSize = 40) {
  BmpBuilder b;
  b.width = width;
  b.height = height;
  b.bits = bits;
  b.infoSize = infoSize;
  b.palette = RainbowPalette();
  b.colorsUsed = colorsUsed;
  b.tableEntries = tableEntries;
  const std::uint32_t mask = (1u << bits) - 1;
  b.pixel = [mask](int x, int y) { return std::uint32_t(x * 3 + y) & mask; };
  return b;
}

class ShortColorTableTest : public BmpTest, public ::testing::WithParamInterface<ShortTableCase> {};

TEST_P(ShortColorTableTest, TakesTheEntriesTheFileHoldsAndBlackForTheRest) {
  const ShortTableCase& c = GetParam();
  const auto color = [&](std::uint32_t index) { return index < c.entriesTaken ? c.file.palette[index] : 0; };
  ImagePtr image = Load(c.file.Build(), c.file.width, c.file.height);
  ExpectPixels(image.get(), [&](int x, int y) { return 0xFF000000u | color(c.file.pixel(x, y)); });
  // The screen's table alike, as 0x00BBGGRR.
  for (std::uint32_t i = 0; i < (1u << c.file.bits); ++i) {
    const std::uint32_t rgb = color(i);
    ASSERT_EQ(Screen()->palette[i], ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShortColorTableTest,
    ::testing::Values(ShortTableCase{"EightBitsWithTwoColorsUsed", Indexed(8, 5, 3, 2, 2), 2},
                      ShortTableCase{"FourBitsWithThreeColorsUsed", Indexed(4, 5, 3, 3, 3), 3},
                      ShortTableCase{"CoreHeaderWithATableEndingAtThePixels", Indexed(8, 5, 3, 0, 16, 12),
                                     16},
                      ShortTableCase{"ShortHeaderWithATableEndingAtThePixels", Indexed(4, 5, 3, 0, 2, 16), 2},
                      ShortTableCase{"IndicesPastTheTableAreBlack", Indexed(8, 60, 30, 20, 20), 20},
                      ShortTableCase{"ColorCountPastThePixelsStopsThere", Indexed(8, 60, 30, 256, 16), 16},
                      ShortTableCase{"ColorCountAboveTheDepthTakes256", Indexed(8, 60, 30, 300, 300), 256}),
    [](const ::testing::TestParamInfo<ShortTableCase>& info) { return info.param.name; });

TEST_F(BloadTest, SixteenBitFilesDefaultTo555AndScaleByBitReplication) {
  BmpBuilder b;
  b.width = 5;
  b.height = 2;
  b.bits = 16;
  // Red 31, green 1, blue 16 at (0, 0); red 0, green 31, blue 1 elsewhere.
  b.pixel = [](int x, int y) { return x + y == 0 ? (31u << 10) | (1u << 5) | 16u : (31u << 5) | 1u; };
  ImagePtr image = Load(b.Build(), 5, 2);
  EXPECT_EQ(Pixel(ImageSurface(image.get()), 0, 0), 0xFFFF0884u);
  EXPECT_EQ(Pixel(ImageSurface(image.get()), 4, 1), 0xFF00FF08u);
}

TEST_F(BloadTest, SixteenBit565BitFieldsFollowTheHeader) {
  BmpBuilder b;
  b.width = 3;
  b.height = 1;
  b.bits = 16;
  b.compression = 3;
  b.masks = {{0xF800, 0x07E0, 0x001F, 0}};
  // Red 16, green 33, blue 31.
  b.pixel = [](int, int) { return (16u << 11) | (33u << 5) | 31u; };
  ImagePtr image = Load(b.Build(), 3, 1);
  EXPECT_EQ(Pixel(ImageSurface(image.get()), 2, 0), 0xFF8486FFu);
}

TEST_F(BloadTest, ThirtyTwoBitAlphaComesFromTheAlphaMaskOrIsZeroWithoutOne) {
  BmpBuilder plain;  // no compression: default masks, alpha in the top byte
  plain.width = 6;
  plain.height = 2;
  plain.bits = 32;
  plain.pixel = [](int x, int y) { return 0x40000000u * (x % 4) | Color(x, y); };
  ImagePtr image = Load(plain.Build(), 6, 2);
  ExpectPixels(image.get(), [](int x, int y) { return 0x40000000u * (x % 4) | Color(x, y); });

  BmpBuilder v3 = plain;  // 56-byte header, channels in another order
  v3.infoSize = 56;
  v3.compression = 3;
  v3.masks = {{0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}};
  v3.pixel = [](int x, int y) { return (Color(x, y) << 8) | std::uint32_t(x * 40); };
  image = Load(v3.Build(), 6, 2);
  ExpectPixels(image.get(), [](int x, int y) { return (std::uint32_t(x * 40) << 24) | Color(x, y); });

  BmpBuilder v4 = v3;  // 108 bytes: the same masks at the same place
  v4.infoSize = 108;
  image = Load(v4.Build(), 6, 2);
  ExpectPixels(image.get(), [](int x, int y) { return (std::uint32_t(x * 40) << 24) | Color(x, y); });

  BmpBuilder shortHeader = plain;  // masks after a 40-byte header: no alpha mask
  shortHeader.compression = 3;
  shortHeader.masks = {{0xFF0000, 0xFF00, 0xFF, 0}};
  image = Load(shortHeader.Build(), 6, 2);
  ExpectPixels(image.get(), [](int x, int y) { return Color(x, y); });
}

TEST_F(BloadTest, EveryHeaderSizeReadsTheSamePicture) {
  for (std::uint32_t infoSize : {12u, 16u, 40u, 52u, 56u, 108u, 124u}) {
    SCOPED_TRACE(infoSize);
    BmpBuilder b = Picture24(7, 5);
    b.infoSize = infoSize;
    ImagePtr image = Load(b.Build(), 7, 5);
    ExpectPixels(image.get(), [](int x, int y) { return 0xFF000000u | Color(x, y); });
  }
  BmpBuilder core;  // the core form's color table has 3-byte entries
  core.infoSize = 12;
  core.width = 4;
  core.height = 2;
  core.bits = 8;
  core.palette = RainbowPalette();
  core.pixel = [](int x, int y) { return std::uint32_t(x + 100 * y); };
  ImagePtr image = Load(core.Build(), 4, 2);
  ExpectPixels(image.get(), [&](int x, int y) { return 0xFF000000u | core.palette[x + 100 * y]; });
}

TEST_F(BloadTest, TwoByteTargetsGet565AndOneByteTargetsOnlyIndices) {
  ImagePtr image16(ImageCreate(4, 2, 0, 16));
  BmpBuilder b = Picture24(4, 2);
  b.pixel = [](int, int) { return 0xFF8040u; };
  WriteBytes(PathOf("a.bmp"), b.Build());
  ASSERT_EQ(Bload(PathOf("a.bmp"), image16.get()), rt::ResultOk);
  EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(image16.get() + 1)[3], (31 << 11) | (32 << 5) | 8);

  ImagePtr image8(ImageCreate(4, 2, 0, 8));
  EXPECT_EQ(Bload(PathOf("a.bmp"), image8.get()), ResultIllegalCall);
  b.bits = 8;
  b.palette = RainbowPalette();
  b.pixel = [](int x, int) { return std::uint32_t(200 + x); };
  WriteBytes(PathOf("a.bmp"), b.Build());
  ASSERT_EQ(Bload(PathOf("a.bmp"), image8.get()), rt::ResultOk);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(image8.get() + 1)[3], 203);
  ASSERT_EQ(Bload(PathOf("a.bmp"), image16.get()), rt::ResultOk);
  const std::uint32_t c = b.palette[201];
  EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(image16.get() + 1)[1],
            ((c >> 19) << 11) | (((c >> 10) & 0x3F) << 5) | ((c & 0xFF) >> 3));
}

TEST(ScaleChannelTest, ReplicatesBitsDownToOneBitChannels) {
  EXPECT_EQ(ScaleChannel(1, 1, 8), 0xFFu);
  EXPECT_EQ(ScaleChannel(2, 2, 8), 0xAAu);
  EXPECT_EQ(ScaleChannel(5, 3, 8), 0xB6u);
  EXPECT_EQ(ScaleChannel(0x1F, 5, 8), 0xFFu);
  EXPECT_EQ(ScaleChannel(0x10, 5, 8), 0x84u);
  EXPECT_EQ(ScaleChannel(0x21, 6, 8), 0x86u);
  EXPECT_EQ(ScaleChannel(0x3FF, 10, 8), 0xFFu);
  EXPECT_EQ(ScaleChannel(0xFF, 8, 5), 0x1Fu);
}

TEST_F(BloadTest, LargerPicturesAreClippedToTheTarget) {
  for (int height : {30, -30}) {
    SCOPED_TRACE(height);
    BmpBuilder b = Picture24(50, 30);
    b.height = height;
    ImagePtr image = Load(b.Build(), 40, 20);
    ExpectPixels(image.get(), [](int x, int y) { return 0xFF000000u | Color(x, y); });
  }
}

TEST_F(BloadTest, SmallerPicturesFillTheTopLeftAndKeepTheRest) {
  ImagePtr image = Load(Picture24(10, 5).Build(), 40, 20);
  ExpectPixels(image.get(),
               [](int x, int y) { return x < 10 && y < 5 ? 0xFF000000u | Color(x, y) : 0x00123456u; });
}

TEST_F(BloadTest, MissingFileLeavesTheTargetAlone) {
  ImagePtr image(ImageCreate(4, 4, 0x00123456, 0, true));
  EXPECT_EQ(Bload(PathOf("nothing.bmp"), image.get()), ResultFileNotFound);
  EXPECT_EQ(LastResult(), ResultFileNotFound);
  EXPECT_EQ(Bload(folder_.Path().string(), image.get()), ResultFileNotFound);  // a folder is no file
  ASSERT_EQ(mkfifo(PathOf("pipe.bmp").c_str(), 0666), 0);
  test::HangAlarm hangAlarm;
  EXPECT_EQ(Bload(PathOf("pipe.bmp"), image.get()), ResultFileNotFound);  // nor a pipe, nor waited on
  ExpectPixels(image.get(), [](int, int) { return 0x00123456u; });
}

TEST_F(BloadTest, OnlyFilesStartingWithBAreRead) {
  std::vector<std::uint8_t> file = Picture24(4, 4).Build();
  for (std::uint8_t first : {std::uint8_t('X'), std::uint8_t(0xFD), std::uint8_t(0xFE)}) {
    file[0] = first;
    ImagePtr image = Load(file, 4, 4, ResultFileIoError);
    ExpectPixels(image.get(), [](int, int) { return 0x00123456u; });
  }
}

TEST_F(BloadTest, TruncatedFileKeepsTheRowsConvertedBeforeItsEnd) {
  std::vector<std::uint8_t> file = Picture24(40, 20).Build();
  file.resize(54 + 120 * 12 + 50);  // twelve whole rows and a part
  ImagePtr image = Load(file, 40, 20, ResultFileIoError);
  // The file's first rows are the picture's bottom rows.
  ExpectPixels(image.get(), [](int x, int y) { return y >= 8 ? 0xFF000000u | Color(x, y) : 0x00123456u; });
}

// This process's resident memory now and at its peak since the last reset, in KiB.
long StatusKiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

// Rows beyond the target are passed over, so a file's size is no reason to
// refuse it, nor to bring it all into memory.
TEST_F(BloadTest, FilesOfAnySizeGiveTheRowsTheTargetShowsWithoutBeingReadWhole) {
  constexpr std::int64_t kRows =
      40'000'000;  // 4 pixels of 24 bits, 12 bytes a row: 480 MB, nearly all a hole
  for (std::int64_t height : {kRows, -kRows}) {
    SCOPED_TRACE(height);
    std::vector<std::uint8_t> header = Picture24(4, 1).Build();
    header.resize(54);
    std::memcpy(&header[22], &height, 4);
    const std::string path = PathOf("big.bmp");
    WriteBytes(path, header);
    std::filesystem::resize_file(path, 54 + 12 * kRows);
    // The four rows a 4 x 4 target shows: the file's first (top-down) or last.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    for (int y = 0; y < 4; ++y) {
      const std::int64_t fileRow = height < 0 ? y : kRows - 1 - y;
      file.seekp(54 + 12 * fileRow);
      for (int x = 0; x < 4; ++x) {
        const std::uint32_t bgr = Color(x, y);  // little-endian: blue, green, red
        file.write(reinterpret_cast<const char*>(&bgr), 3);
      }
    }
    file.close();

    std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak
    const long before = StatusKiB("VmRSS");
    ImagePtr image(ImageCreate(4, 4));
    ASSERT_EQ(Bload(path, image.get()), ResultOk);
    ExpectPixels(image.get(), [](int x, int y) { return 0xFF000000u | Color(x, y); });
    EXPECT_LT(StatusKiB("VmHWM") - before, 64 * 1024);
  }
}

TEST_F(BloadTest, ScreenLoadsMarkEveryRowDirtyEvenWhenCutShort) {
  std::vector<std::uint8_t> file = Picture24(640, 480).Build();
  WriteBytes(PathOf("full.bmp"), file);
  test::GfxTest::ClearDirty();
  ASSERT_EQ(Bload(PathOf("full.bmp")), rt::ResultOk);
  EXPECT_EQ(DirtyCount(), 480);
  EXPECT_EQ(ScreenPixel(639, 479), 0xFF000000u | Color(639, 479));
  EXPECT_EQ(ScreenPixel(17, 3), 0xFF000000u | Color(17, 3));

  file.resize(file.size() / 2);
  WriteBytes(PathOf("half.bmp"), file);
  ClearDirty();
  EXPECT_EQ(Bload(PathOf("half.bmp")), ResultFileIoError);
  EXPECT_EQ(DirtyCount(), 480);

  ScreenClose();
  EXPECT_EQ(Bload(PathOf("full.bmp")), ResultIllegalCall);
}

TEST_F(BloadTest, BackslashesInNamesSeparateFolders) {
  std::filesystem::create_directory(folder_.Path() / "pictures");
  WriteBytes(PathOf("pictures/a.bmp"), Picture24(2, 2).Build());
  ImagePtr image(ImageCreate(2, 2));
  EXPECT_EQ(Bload(folder_.Path().string() + "\\pictures\\a.bmp", image.get()), rt::ResultOk);
  EXPECT_EQ(Pixel(ImageSurface(image.get()), 1, 1), 0xFF000000u | Color(1, 1));
}

// A back end that keeps what the loader hands it.
class PaletteDriver final : public DisplayDriver {
 public:
  static inline std::vector<std::array<int, 4>> entries;
  std::string_view Name() const override { return "palette"; }
  int Init(ScreenState&, const char*, int, int, int, int, int) override { return 0; }
  void Exit() override {}
  void Lock() override {}
  void Unlock() override {}
  void SetPalette(int i, int r, int g, int b) override { entries.push_back({i, r, g, b}); }
  Result GetMouse(int*, int*, int*, int*, int*) override { return ResultIllegalCall; }
  Result SetMouse(int, int, int, int) override { return ResultOk; }
  void SetWindowTitle(const char*) override {}
};

TEST_F(BloadTest, IndexedFilesOnAnIndexedScreenCopyIndicesAndPushThePalette) {
  SetDriverList({DriverEntry{"palette", [] { return std::unique_ptr<DisplayDriver>(new PaletteDriver); }}});
  ASSERT_EQ(ScreenMode(18, 8, 1, 0, 0), rt::ResultOk);
  PaletteDriver::entries.clear();
  BmpBuilder b;
  b.width = 3;
  b.height = 2;
  b.bits = 4;
  b.palette = {0x102030, 0x405060, 0x708090};
  b.pixel = [](int x, int y) { return std::uint32_t((x + y) % 3); };
  WriteBytes(PathOf("p.bmp"), b.Build());
  ASSERT_EQ(Bload(PathOf("p.bmp")), rt::ResultOk);
  EXPECT_EQ(ScreenSurface().Row(1)[2], 0);
  EXPECT_EQ(ScreenSurface().Row(1)[1], 2);
  ASSERT_EQ(PaletteDriver::entries.size(), 256u);
  EXPECT_EQ(PaletteDriver::entries[1], (std::array<int, 4>{1, 0x40, 0x50, 0x60}));
  // Entries past the file's 16 keep the screen's default palette.
  const std::uint32_t kept = Screen()->palette[20];
  EXPECT_EQ(PaletteDriver::entries[20],
            (std::array<int, 4>{20, int(kept & 0xFF), int((kept >> 8) & 0xFF), int(kept >> 16)}));
}

// Run-length data for a 6 x 4 picture, bottom row first.
TEST_F(BloadTest, RunLengthEightBitCodesIncludingDeltaSkips) {
  BmpBuilder b;
  b.width = 6;
  b.height = 4;
  b.bits = 8;
  b.compression = 1;
  b.palette = RainbowPalette();
  b.pixelData = {
      3, 10, 0, 3, 20, 21, 22, 0,  // bottom row: run of three 10s, absolute 20 21 22 (padded)
      0, 0,                        // end of line
      0, 2,  2, 1,                 // delta: two right, one up (row 1 is skipped from there)
      2, 30, 0, 0,                 // row 2 from x 2: 30 30, end of line
      6, 40, 0, 1,                 // top row: six 40s, end of bitmap
  };
  ImagePtr image = Load(b.Build(), 6, 4);
  const auto c = [&](int i) { return 0xFF000000u | b.palette[i]; };
  const std::uint32_t kept = 0x00123456u;
  const std::vector<std::vector<std::uint32_t>> expected = {
      {c(40), c(40), c(40), c(40), c(40), c(40)},
      {kept, kept, c(30), c(30), kept, kept},
      {kept, kept, kept, kept, kept, kept},
      {c(10), c(10), c(10), c(20), c(21), c(22)},
  };
  ExpectPixels(image.get(), [&](int x, int y) { return expected[y][x]; });
}

TEST_F(BloadTest, RunLengthFourBitCodesAlternateNibbles) {
  BmpBuilder b;
  b.width = 7;
  b.height = 2;
  b.bits = 4;
  b.compression = 2;
  b.palette = RainbowPalette();
  b.pixelData = {
      5, 0x12, 0,    0,              // bottom row: 1 2 1 2 1, end of line
      0, 5,    0x34, 0x56, 0x70, 0,  // top row: absolute 3 4 5 6 7 (three bytes, padded to four)
      2, 0x99, 0,    1,              // then 9 9, end of bitmap
  };
  ImagePtr image = Load(b.Build(), 7, 2);
  const auto c = [&](int i) { return 0xFF000000u | b.palette[i]; };
  const std::uint32_t kept = 0x00123456u;
  const std::vector<std::vector<std::uint32_t>> expected = {
      {c(3), c(4), c(5), c(6), c(7), c(9), c(9)},
      {c(1), c(2), c(1), c(2), c(1), kept, kept},
  };
  ExpectPixels(image.get(), [&](int x, int y) { return expected[y][x]; });
}

TEST_F(BsaveTest, GameScreenshotHasTheDocumentedSizeAndHeader) {
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ScreenPixel(x, y) = (std::uint32_t(x & 1) << 31) | Color(x, y);
  ASSERT_EQ(Bsave(PathOf("shot.bmp")), rt::ResultOk);
  const std::vector<std::uint8_t> file = ReadFileBytes(PathOf("shot.bmp"));
  ASSERT_EQ(file.size(), 1228854u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  using test::LittleEndian32;
  EXPECT_EQ(LittleEndian32(file, 2), 1228854u);
  EXPECT_EQ(LittleEndian32(file, 6), 0u);
  EXPECT_EQ(LittleEndian32(file, 10), 54u);
  EXPECT_EQ(LittleEndian32(file, 14), 40u);
  EXPECT_EQ(LittleEndian32(file, 18), 640u);
  EXPECT_EQ(LittleEndian32(file, 22), 480u);
  EXPECT_EQ(LittleEndian32(file, 26), 1u | (32u << 16));  // planes, bits
  EXPECT_EQ(LittleEndian32(file, 30), 0u);
  EXPECT_EQ(LittleEndian32(file, 34), 1228800u);
  EXPECT_EQ(LittleEndian32(file, 38), 2834u);
  EXPECT_EQ(LittleEndian32(file, 42), 2834u);
  EXPECT_EQ(LittleEndian32(file, 46), 0u);
  EXPECT_EQ(LittleEndian32(file, 50), 0u);
  // The first row in the file is the screen's bottom row. The screen has no
  // transparency: every fourth byte is 0xFF, whatever alpha a pixel held.
  EXPECT_EQ(LittleEndian32(file, 54), 0xFF000000u | Color(0, 479));
  EXPECT_EQ(LittleEndian32(file, 54 + 4), 0xFF000000u | Color(1, 479));
  EXPECT_EQ(LittleEndian32(file, 54 + 2560 * 479 + 4 * 5), 0xFF000000u | Color(5, 0));
  for (std::size_t i = 54 + 3; i < file.size(); i += 4) ASSERT_EQ(file[i], 0xFF) << i;
}

TEST_F(BsaveTest, ExtensionIsComparedIgnoringCaseAndOtherNamesWriteNothing) {
  ASSERT_EQ(Bsave(PathOf("SHOT.BMP")), rt::ResultOk);
  EXPECT_EQ(ReadFileBytes(PathOf("SHOT.BMP")).size(), 1228854u);
  ASSERT_EQ(Bsave(PathOf("shot.Bmp")), rt::ResultOk);
  EXPECT_EQ(Bsave(PathOf("shot.png")), ResultIllegalCall);
  EXPECT_EQ(Bsave(PathOf("bmp")), ResultIllegalCall);
  EXPECT_FALSE(std::filesystem::exists(PathOf("shot.png")));
  EXPECT_EQ(Bsave(PathOf("missing/shot.bmp")), ResultFileNotFound);
  EXPECT_EQ(LastResult(), ResultFileNotFound);
  std::filesystem::create_directory(folder_.Path() / "screenshots");
  EXPECT_EQ(Bsave(folder_.Path().string() + "\\screenshots\\x.bmp"), rt::ResultOk);
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "screenshots" / "x.bmp"));
  // no temporary files left
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 3);
}

TEST_F(BsaveTest, FailedWriteReportsAnErrorAndKeepsTheOldFile) {
  WriteBytes(PathOf("shot.bmp"), {1, 2, 3});
  int result;
  {
    test::FileSizeLimit limit(100000);  // the write fails part way through
    result = Bsave(PathOf("shot.bmp"));
  }

  EXPECT_EQ(result, ResultFileIoError);
  EXPECT_EQ(ReadFileBytes(PathOf("shot.bmp")), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
}

// Bsave replaces a file as an Output channel does.
TEST_F(BsaveTest, RefusesProtectedFilesAndRewritesInPlaceWhereTheFolderTakesNoNewFiles) {
  ImagePtr image(ImageCreate(3, 2));
  const std::vector<std::uint8_t> old = {1, 2, 3};
  std::filesystem::create_directory(folder_.Path() / "sealed");
  for (const char* name : {"locked.bmp", "sealed/open.bmp"}) WriteBytes(PathOf(name), old);
  ASSERT_EQ(chmod(PathOf("locked.bmp").c_str(), 0444), 0);
  ASSERT_EQ(chmod(PathOf("sealed").c_str(), 0555), 0);
  const int failedStep = test::RunBoundByPermissions(folder_.Path(), [&] {
    if (Bsave(PathOf("locked.bmp"), image.get()) != ResultFileNotFound) return 1;
    if (Bsave(PathOf("sealed/new.bmp"), image.get()) != ResultFileNotFound) return 2;
    if (Bsave(PathOf("sealed/open.bmp"), image.get()) != ResultOk) return 3;
    return 0;
  });
  ASSERT_EQ(chmod(PathOf("sealed").c_str(), 0755), 0);

  EXPECT_EQ(failedStep, 0);
  EXPECT_EQ(ReadFileBytes(PathOf("locked.bmp")), old);
  EXPECT_EQ(ReadFileBytes(PathOf("sealed/open.bmp")).size(), 54u + 3 * 4 * 2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path() / "sealed"), {}), 1);
}

TEST_F(BsaveTest, KeepsAFilesPermissionsAndRemovesTemporariesOfWritersThatNoLongerRun) {
  WriteBytes(PathOf("shot.bmp"), {1, 2, 3});
  ASSERT_EQ(chmod(PathOf("shot.bmp").c_str(), 0600), 0);
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  // A picture taken earlier under another name, by a writer killed before it finished.
  WriteBytes(PathOf("screen12-07-2026-9-5-3.bmp.tmp-" + std::to_string(gone) + "-0"), {4, 5});

  ASSERT_EQ(Bsave(PathOf("shot.bmp")), rt::ResultOk);
  struct stat info {};
  ASSERT_EQ(stat(PathOf("shot.bmp").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
}

TEST_F(BsaveTest, RefusesSourcesItCannotDescribe) {
  ImageBuffer broken{7, 3, 4, 4, 12, {}};  // 3 bytes per pixel
  EXPECT_EQ(Bsave(PathOf("a.bmp"), &broken), ResultIllegalCall);
  ImageBuffer narrow{7, 4, 4, 4, 8, {}};  // pitch below width x 4
  EXPECT_EQ(Bsave(PathOf("a.bmp"), &narrow), ResultIllegalCall);
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.bmp")));
  ScreenClose();
  EXPECT_EQ(Bsave(PathOf("a.bmp")), ResultIllegalCall);
}

// Fills an image with values that use every byte, alpha included.
void Scribble(const ImageBuffer* image) {
  const Surface s = ImageSurface(image);
  for (int y = 0; y < s.height; ++y) {
    std::uint8_t* row = s.Row(y);
    for (int i = 0; i < s.width * s.bytesPerPixel; ++i) row[i] = std::uint8_t(i * 37 + y * 101 + 5);
  }
}

TEST_F(BsaveTest, ThirtyTwoBitFilesRoundTripEveryByte) {
  ImagePtr original(ImageCreate(33, 7));
  Scribble(original.get());
  ASSERT_EQ(Bsave(PathOf("rt.bmp"), original.get()), rt::ResultOk);
  EXPECT_EQ(ReadFileBytes(PathOf("rt.bmp")).size(), 54u + 33 * 4 * 7);
  ImagePtr loaded(ImageCreate(33, 7));
  ASSERT_EQ(Bload(PathOf("rt.bmp"), loaded.get()), rt::ResultOk);
  ExpectPixels(loaded.get(), [&](int x, int y) { return Pixel(ImageSurface(original.get()), x, y); });
}

TEST_F(BsaveTest, TwentyFourBitFilesRoundTripColorsAsOpaque) {
  ImagePtr original(ImageCreate(33, 7));
  Scribble(original.get());
  ASSERT_EQ(Bsave(PathOf("rt.bmp"), original.get(), 24), rt::ResultOk);
  EXPECT_EQ(ReadFileBytes(PathOf("rt.bmp")).size(), 54u + 100 * 7);
  ImagePtr loaded(ImageCreate(33, 7));
  ASSERT_EQ(Bload(PathOf("rt.bmp"), loaded.get()), rt::ResultOk);
  ExpectPixels(loaded.get(),
               [&](int x, int y) { return 0xFF000000u | Pixel(ImageSurface(original.get()), x, y); });
}

TEST_F(BsaveTest, FiveSixFivePixelsRoundTripThroughTwentyFourBits) {
  ImagePtr original(ImageCreate(19, 5, 0, 16));
  Scribble(original.get());
  ASSERT_EQ(Bsave(PathOf("rt.bmp"), original.get()), rt::ResultOk);
  const std::vector<std::uint8_t> file = ReadFileBytes(PathOf("rt.bmp"));
  ASSERT_EQ(file.size(), 54u + 60 * 5);
  EXPECT_EQ(file[28], 24);
  ImagePtr loaded(ImageCreate(19, 5, 0, 16));
  ASSERT_EQ(Bload(PathOf("rt.bmp"), loaded.get()), rt::ResultOk);
  const Surface a = ImageSurface(original.get());
  const Surface b = ImageSurface(loaded.get());
  for (int y = 0; y < 5; ++y) ASSERT_EQ(std::memcmp(a.Row(y), b.Row(y), 19 * 2), 0) << y;
}

TEST_F(BsaveTest, IndexedPixelsRoundTripWithTheScreenPalette) {
  for (int i = 0; i < 256; ++i) Screen()->palette[i] = std::uint32_t(i * 0x010305) & 0xFFFFFF;
  ImagePtr original(ImageCreate(21, 6, 0, 8));
  Scribble(original.get());
  ASSERT_EQ(Bsave(PathOf("rt8.bmp"), original.get()), rt::ResultOk);
  const std::vector<std::uint8_t> file = ReadFileBytes(PathOf("rt8.bmp"));
  ASSERT_EQ(file.size(), 1078u + 24 * 6);
  EXPECT_EQ(test::LittleEndian32(file, 46), 256u);
  const auto palette = Screen()->palette;
  std::fill(Screen()->palette.begin(), Screen()->palette.end(), 0);
  ImagePtr loaded(ImageCreate(21, 6, 0, 8));
  ASSERT_EQ(Bload(PathOf("rt8.bmp"), loaded.get()), rt::ResultOk);
  EXPECT_EQ(Screen()->palette, palette);
  const Surface a = ImageSurface(original.get());
  const Surface b = ImageSurface(loaded.get());
  for (int y = 0; y < 6; ++y) ASSERT_EQ(std::memcmp(a.Row(y), b.Row(y), 21), 0) << y;

  // Asked for 24 bits, the indices are expanded through the palette.
  ASSERT_EQ(Bsave(PathOf("rt24.bmp"), original.get(), 24), rt::ResultOk);
  ImagePtr colors(ImageCreate(21, 6));
  ASSERT_EQ(Bload(PathOf("rt24.bmp"), colors.get()), rt::ResultOk);
  ExpectPixels(colors.get(), [&](int x, int y) {
    const std::uint32_t bgr = palette[a.Row(y)[x]];
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
  });
}

}  // namespace
}  // namespace rt
