#include "gfx/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

// The null back end plus a beep counter.
class BeepingDriver final : public DisplayDriver {
 public:
  static inline int beeps = 0;
  std::string_view Name() const override { return "beeping"; }
  int Init(ScreenState&, const char*, int, int, int, int, int) override { return 0; }
  void Exit() override {}
  void Lock() override {}
  void Unlock() override {}
  void SetPalette(int, int, int, int) override {}
  Result GetMouse(int*, int*, int*, int*, int*) override { return ResultIllegalCall; }
  Result SetMouse(int, int, int, int) override { return ResultOk; }
  void SetWindowTitle(const char*) override {}
  void Beep() override { ++beeps; }
};

class TextTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen();
  }

  static std::uint32_t* Pixels(int page = 0) {
    return reinterpret_cast<std::uint32_t*>(Screen()->pages[page].pixels);
  }
  static std::uint32_t At(int x, int y) { return Pixels()[y * 640 + x]; }
  // Gives every pixel its own value, so "unchanged" can be told from "cleared".
  static void FillWithPattern() {
    for (int i = 0; i < 640 * 480; ++i) Pixels()[i] = 0x01000000u + std::uint32_t(i);
  }
  static std::vector<std::uint32_t> Snapshot() { return {Pixels(), Pixels() + 640 * 480}; }
  static void ClearDirty() { std::fill(Screen()->dirtyLines.begin(), Screen()->dirtyLines.end(), 0); }
  static std::vector<int> DirtyRows() {
    std::vector<int> rows;
    for (int y = 0; y < 480; ++y)
      if (Screen()->dirtyLines[y]) rows.push_back(y);
    return rows;
  }
  static std::vector<int> Range(int first, int last) {
    std::vector<int> rows;
    for (int y = first; y <= last; ++y) rows.push_back(y);
    return rows;
  }
  static bool GlyphBit(unsigned char character, int row, int column) {
    return FontByIndex(2).Glyph(character)[row] >> column & 1;
  }
  static const TextCell& Shadow(int row, int column) { return Screen()->text.shadow[0][row * 80 + column]; }
  // True when the cell shows the glyph opaque in the two colors.
  static bool CellShows(int row, int column, unsigned char character, std::uint32_t fg, std::uint32_t bg) {
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 8; ++c)
        if (At(column * 8 + c, row * 16 + r) != (GlyphBit(character, r, c) ? fg : bg)) return false;
    return true;
  }
  static int CursorRow() { return Screen()->text.cursorRow; }
  static int CursorColumn() { return Screen()->text.cursorColumn; }
};

// --- DrawString ---

TEST_F(TextTest, DrawStringSetsExactlyTheGlyphPixels) {
  FillWithPattern();
  const auto before = Snapshot();
  EXPECT_EQ(DrawString(nullptr, 1, 1, 4 | kColorNotGiven, "\x8E"), rt::ResultOk);
  int set = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool inGlyph = x >= 1 && x < 9 && y >= 1 && y < 17 && GlyphBit(0x8E, y - 1, x - 1);
      ASSERT_EQ(At(x, y), inGlyph ? kWhite : before[y * 640 + x]) << x << "," << y;
      set += inGlyph;
    }
  EXPECT_EQ(set, 39);  // the two umlaut dots and the letter
}

TEST_F(TextTest, DrawStringDrawsEveryByteAsAGlyphSideBySide) {
  const std::string text("\x01\n\r\x07", 4);
  DrawString(nullptr, 0, 0, kColorNotGiven, text);
  for (int i = 0; i < 4; ++i)
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 8; ++c)
        ASSERT_EQ(At(i * 8 + c, r), GlyphBit(std::uint8_t(text[i]), r, c) ? kWhite : kBlack) << i;
}

TEST_F(TextTest, DrawStringNearTheRightEdgeDrawsOnlyTheVisibleColumns) {
  FillWithPattern();
  const auto before = Snapshot();
  DrawString(nullptr, 636, 0, kColorNotGiven, "\xDB\xDB\xDB");
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool drawn = y < 16 && x >= 636;
      ASSERT_EQ(At(x, y), drawn ? kWhite : before[y * 640 + x]) << x << "," << y;
    }
}

TEST_F(TextTest, DrawStringCutsCharactersAtTheLeftAndTopEdges) {
  // Rounded half away from zero: -3.5 becomes -4, so 4 columns are cut.
  DrawString(nullptr, -3.5, -10, kColorNotGiven, "\xDB\xDB");
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(At(x, 0), x < 12 ? kWhite : kBlack) << x;
    EXPECT_EQ(At(x, 5), x < 12 ? kWhite : kBlack) << x;
    EXPECT_EQ(At(x, 6), kBlack) << x;
  }
}

TEST_F(TextTest, DrawStringIsOffsetByAndClippedToTheGraphicsView) {
  DrawContext& context = CurrentContext();
  context.clip = Rect{100, 50, 20, 10};
  context.viewSet = true;
  FillWithPattern();
  const auto before = Snapshot();
  DrawString(nullptr, -2, 0, kColorNotGiven, "\xDB\xDB\xDB\xDB");
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool drawn = x >= 100 && x < 120 && y >= 50 && y < 60;
      ASSERT_EQ(At(x, y), drawn ? kWhite : before[y * 640 + x]) << x << "," << y;
    }
}

TEST_F(TextTest, DrawStringFarOutsideTheIntegerRangeDrawsNothing) {
  FillWithPattern();
  const auto before = Snapshot();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::string longText(5000, '\xDB');
  for (double far : {1e12, -1e12, nan, inf, -inf, 9e8, -9e8}) {
    EXPECT_EQ(DrawString(nullptr, far, 0, kColorNotGiven, longText), rt::ResultOk);
    EXPECT_EQ(DrawString(nullptr, 0, far, kColorNotGiven, longText), rt::ResultOk);
    EXPECT_EQ(DrawString(nullptr, far, far, kColorNotGiven, longText), rt::ResultOk);
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(TextTest, DrawStringTakesTheGivenColorUnlessBit31IsSet) {
  Color(0x00FF00, 0, kColorBackgroundOmitted);
  DrawString(nullptr, 0, 0, 0, "\xDB", 0x123456);
  EXPECT_EQ(At(0, 0), 0x00123456u);  // 32 bits: unchanged, alpha 0
  DrawString(nullptr, 8, 0, kColorNotGiven, "\xDB", 0x123456);
  EXPECT_EQ(At(8, 0), 0x0000FF00u);
}

TEST_F(TextTest, DrawStringMarksItsRowsWithinTheClipDirty) {
  ClearDirty();
  DrawString(nullptr, 10, 100, kColorNotGiven, "Hallo");
  EXPECT_EQ(DirtyRows(), Range(100, 115));
  ClearDirty();
  DrawString(nullptr, 10, 470, kColorNotGiven, "Hallo");
  EXPECT_EQ(DirtyRows(), Range(470, 479));
  ClearDirty();
  DrawString(nullptr, 700, 100, kColorNotGiven, "Hallo");
  EXPECT_EQ(DirtyRows(), std::vector<int>{});
}

TEST_F(TextTest, DrawStringOnAHiddenPageMarksNothing) {
  ClearDirty();
  CurrentContext().workPage = 1;
  DrawString(nullptr, 0, 0, kColorNotGiven, "\xDB");
  EXPECT_EQ(Pixels(1)[0], kWhite);
  EXPECT_EQ(Pixels(0)[0], kBlack);
  EXPECT_EQ(DirtyRows(), std::vector<int>{});
}

TEST_F(TextTest, DrawStringFailsWithoutAScreenOrWithAnUnknownCoordinateMode) {
  EXPECT_EQ(DrawString(nullptr, 0, 0, 1 | kColorNotGiven, "x"), rt::ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(DrawString(nullptr, 0, 0, 0, ""), rt::ResultOk);
  ScreenClose();
  EXPECT_EQ(DrawString(nullptr, 0, 0, 4 | kColorNotGiven, "x"), rt::ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
}

TEST_F(TextTest, DrawStringIntoAnImageClipsToItAndLeavesTheScreenAlone) {
  ImagePtr image(ImageCreate(12, 10));
  ASSERT_NE(image, nullptr);
  const Surface surface = ImageSurface(image.get());
  ClearDirty();
  EXPECT_EQ(DrawString(image.get(), 2, -3, 0, "A\xDB", 0x00FF00), rt::ResultOk);
  for (int y = 0; y < 10; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(surface.Row(y));
    for (int x = 0; x < 12; ++x) {
      const bool inA = x >= 2 && x < 10 && GlyphBit('A', y + 3, x - 2);
      const bool inBlock = x >= 10;  // the first two columns of the full block
      const bool set = inA || inBlock;
      ASSERT_EQ(row[x], set ? 0x0000FF00u : 0xFFFF00FFu) << x << "," << y;
    }
  }
  EXPECT_EQ(DirtyRows(), std::vector<int>{});
  EXPECT_EQ(At(2, 0), kBlack);
}

TEST_F(TextTest, DrawStringConvertsTheColorToTheImagesPixelSize) {
  ImagePtr image(ImageCreate(8, 16, 0, 16));
  ASSERT_NE(image, nullptr);
  DrawString(image.get(), 0, 0, 0, "\xDB", 0xFF8040);
  EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(ImageSurface(image.get()).Row(15))[7], 0xFC08);
}

TEST_F(TextTest, DrawStringRejectsAnImageHeaderThatDescribesNoImage) {
  ImagePtr image(ImageCreate(8, 8));
  ASSERT_NE(image, nullptr);
  image->bytesPerPixel = 3;
  EXPECT_EQ(DrawString(image.get(), 0, 0, 0, "x"), rt::ResultIllegalCall);
}

TEST_F(TextTest, SixteenBitScreensGetFiveSixFiveColors) {
  ASSERT_EQ(ScreenMode(18, 16, 1, 0, 0), rt::ResultOk);
  auto* pixels = reinterpret_cast<std::uint16_t*>(Screen()->pages[0].pixels);
  DrawString(nullptr, 0, 0, 0, "\xDB", 0xFF8040);
  EXPECT_EQ(pixels[0], 0xFC08);
  EXPECT_EQ(pixels[8], 0x0000);  // next to the glyph: untouched
  Color(0x0000FF, 0x00FF00);
  EXPECT_EQ(CurrentContext().foreground, 0x001Fu);
  EXPECT_EQ(CurrentContext().background, 0x07E0u);
  Print("A", false);
  EXPECT_EQ(pixels[640 * 2 + 3], 0x001F);  // the apex of "A"
  EXPECT_EQ(pixels[640 * 2 + 2], 0x07E0);
}

TEST_F(TextTest, EightBitScreensMaskColorsToTheDepth) {
  ASSERT_EQ(ScreenMode(18, 8, 1, 0, 0), rt::ResultOk);
  DrawString(nullptr, 0, 0, 0, "\xDB", 0x1234);
  EXPECT_EQ(Screen()->pages[0].pixels[0], 0x34);
  EXPECT_EQ(Color(0x1FF, 0x102), 15u);
  EXPECT_EQ(CurrentContext().foreground, 0xFFu);
  EXPECT_EQ(CurrentContext().background, 0x02u);
}

// --- Print and the cell grid ---

TEST_F(TextTest, PrintDrawsOpaqueCellsAndFillsTheShadow) {
  FillWithPattern();
  Print("Ab", false);
  EXPECT_TRUE(CellShows(0, 0, 'A', kWhite, kBlack));
  EXPECT_TRUE(CellShows(0, 1, 'b', kWhite, kBlack));
  EXPECT_EQ(Shadow(0, 0).ch, std::uint32_t('A'));
  EXPECT_EQ(Shadow(0, 1).foreground, kWhite);
  EXPECT_EQ(Shadow(0, 1).background, kBlack);
  EXPECT_EQ(At(16, 0), 0x01000000u + 16);  // the next cell is untouched
  EXPECT_EQ(CursorColumn(), 2);
}

TEST_F(TextTest, EightyCharactersWrapToTheNextRow) {
  Print(std::string(80, 'x'), false);
  EXPECT_EQ(CursorRow(), 1);
  EXPECT_EQ(CursorColumn(), 0);
  EXPECT_TRUE(CellShows(0, 79, 'x', kWhite, kBlack));
  Print("ab", false);
  EXPECT_EQ(Shadow(1, 0).ch, std::uint32_t('a'));
}

TEST_F(TextTest, AFullLastRowLeavesTheNewlinePendingUntilTheNextPrint) {
  Locate(30, 1);
  FillWithPattern();
  Print(std::string(80, 'x'), false);
  EXPECT_TRUE(Screen()->text.pendingNewline);
  EXPECT_EQ(CursorRow(), 29);
  EXPECT_EQ(CursorColumn(), 79);
  EXPECT_EQ(At(0, 0), 0x01000000u);  // not scrolled
  EXPECT_TRUE(CellShows(29, 0, 'x', kWhite, kBlack));

  Print("y", false);
  EXPECT_FALSE(Screen()->text.pendingNewline);
  EXPECT_TRUE(CellShows(28, 0, 'x', kWhite, kBlack));
  EXPECT_TRUE(CellShows(29, 0, 'y', kWhite, kBlack));
  EXPECT_EQ(CursorRow(), 29);
  EXPECT_EQ(CursorColumn(), 1);
}

TEST_F(TextTest, PrintOnTheBottomRowScrollsOnlyWithTheNextOutput) {
  Print("top", true);
  Locate(30, 1);
  Print("x", true);
  EXPECT_TRUE(CellShows(29, 0, 'x', kWhite, kBlack));
  EXPECT_TRUE(CellShows(0, 0, 't', kWhite, kBlack));
  EXPECT_TRUE(Screen()->text.pendingNewline);

  Print("", false);
  EXPECT_TRUE(CellShows(28, 0, 'x', kWhite, kBlack));
  EXPECT_TRUE(CellShows(29, 0, ' ', kWhite, kBlack));
  EXPECT_FALSE(CellShows(0, 0, 't', kWhite, kBlack));
  EXPECT_EQ(CursorRow(), 29);
  EXPECT_EQ(CursorColumn(), 0);
}

TEST_F(TextTest, ScrollingMovesPixelsAndShadowAndBlanksTheFreedRow) {
  Locate(29, 1);
  Print("ab", true);
  Color(0xFF0000, 0x0000FF);
  Print("cd", true);  // now on row 30, newline pending
  ClearDirty();
  Print("e", false);  // scrolls one row
  EXPECT_TRUE(CellShows(27, 0, 'a', kWhite, kBlack));
  EXPECT_TRUE(CellShows(28, 1, 'd', 0xFF0000u, 0x0000FFu));
  EXPECT_TRUE(CellShows(29, 0, 'e', 0xFF0000u, 0x0000FFu));
  EXPECT_EQ(At(639, 29 * 16), 0x0000FFu);  // freed pixels take the current background
  EXPECT_EQ(Shadow(27, 1).ch, std::uint32_t('b'));
  EXPECT_EQ(Shadow(28, 0).ch, std::uint32_t('c'));
  EXPECT_EQ(Shadow(28, 0).background, 0x0000FFu);
  EXPECT_EQ(Shadow(29, 5).ch, std::uint32_t(' '));
  EXPECT_EQ(Shadow(29, 5).background, 0x0000FFu);
  EXPECT_EQ(DirtyRows(), Range(0, 479));
}

TEST_F(TextTest, SeveralLineFeedsAtTheBottomScrollByTheirCount) {
  Locate(30, 1);
  Print("z", false);
  Print("\n\n\n", false);
  EXPECT_TRUE(CellShows(26, 0, 'z', kWhite, kBlack));
  EXPECT_EQ(CursorRow(), 29);
  EXPECT_FALSE(Screen()->text.pendingNewline);
}

TEST_F(TextTest, ALoneByte255DrawsOnlyTheCellsBottomLine) {
  FillWithPattern();
  const auto before = Snapshot();
  Locate(2, 3);
  Print("\xFF", false);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool line = y == 31 && x >= 16 && x < 24;
      ASSERT_EQ(At(x, y), line ? kWhite : before[y * 640 + x]) << x << "," << y;
    }
  EXPECT_EQ(Shadow(1, 2).ch, 255u);
  EXPECT_EQ(CursorColumn(), 3);

  // Within a longer run it is an ordinary (blank) glyph.
  Locate(3, 1);
  Print("a\xFF", false);
  EXPECT_TRUE(CellShows(2, 1, 0xFF, kWhite, kBlack));
}

TEST_F(TextTest, TabAdvancesWithSpacesToTheNextMultipleOfEight) {
  FillWithPattern();
  Print("ab\t", false);
  EXPECT_EQ(CursorColumn(), 8);
  EXPECT_TRUE(CellShows(0, 7, ' ', kWhite, kBlack));
  Print("\t", false);
  EXPECT_EQ(CursorColumn(), 16);
  Locate(1, 77);
  Print("\tq", false);
  EXPECT_EQ(CursorRow(), 1);
  EXPECT_EQ(CursorColumn(), 1);
  EXPECT_EQ(Shadow(0, 79).ch, std::uint32_t(' '));
}

TEST_F(TextTest, BackspaceStopsAtColumnZeroAndReturnAndLineFeedGoToTheRowStart) {
  Print("\b\bab\bc", false);
  EXPECT_EQ(Shadow(0, 0).ch, std::uint32_t('a'));
  EXPECT_EQ(Shadow(0, 1).ch, std::uint32_t('c'));
  Print("\rX", false);
  EXPECT_EQ(Shadow(0, 0).ch, std::uint32_t('X'));
  Print("\nY", false);  // a line feed implies the return
  EXPECT_EQ(Shadow(1, 0).ch, std::uint32_t('Y'));
  EXPECT_EQ(CursorRow(), 1);
}

TEST_F(TextTest, PrintMarksTheRowsItTouched) {
  Locate(3, 5);
  ClearDirty();
  Print("abc", true);
  EXPECT_EQ(DirtyRows(), Range(32, 47));
}

TEST_F(TextTest, BellBeepsThroughTheBackEndAndDrawsNothing) {
  SetDriverList({DriverEntry{"beeping", [] { return std::unique_ptr<DisplayDriver>(new BeepingDriver); }}});
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  BeepingDriver::beeps = 0;
  FillWithPattern();
  const auto before = Snapshot();
  Print("\a\a", false);
  EXPECT_EQ(BeepingDriver::beeps, 2);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(CursorColumn(), 0);
}

TEST_F(TextTest, LocateIsOneBasedKeepsZeroCoordinatesAndStaysOnTheGrid) {
  Locate(5, 10);
  EXPECT_EQ(CursorRow(), 4);
  EXPECT_EQ(CursorColumn(), 9);
  Locate(0, 3);
  EXPECT_EQ(CursorRow(), 4);
  EXPECT_EQ(CursorColumn(), 2);
  Locate(7, -1);
  EXPECT_EQ(CursorRow(), 6);
  EXPECT_EQ(CursorColumn(), 2);
  Locate(99, 999);
  EXPECT_EQ(CursorRow(), 29);
  EXPECT_EQ(CursorColumn(), 79);
  Print("ok", false);  // "o" in the last cell, then "k" wraps and scrolls
  EXPECT_EQ(Shadow(28, 79).ch, std::uint32_t('o'));
  EXPECT_EQ(Shadow(29, 0).ch, std::uint32_t('k'));
}

TEST_F(TextTest, LocateClearsThePendingNewline) {
  Locate(30, 1);
  Print("x", true);
  ASSERT_TRUE(Screen()->text.pendingNewline);
  Locate(1, 1);
  EXPECT_FALSE(Screen()->text.pendingNewline);
  Print("y", false);
  EXPECT_TRUE(CellShows(29, 0, 'x', kWhite, kBlack));
  EXPECT_EQ(Shadow(0, 0).ch, std::uint32_t('y'));
}

TEST_F(TextTest, PrintUsesTheFontOfTheMode) {
  ASSERT_EQ(ScreenMode(9, 0, 0, 0, 0), rt::ResultOk);  // 640 x 350, 8 x 14 cells
  Locate(2, 1);
  Print("\xDB", false);
  const std::uint8_t* page = Screen()->pages[0].pixels;
  EXPECT_EQ(page[13 * 640], 0);
  EXPECT_EQ(page[14 * 640], 15);
  EXPECT_EQ(page[27 * 640 + 7], 15);
  EXPECT_EQ(page[28 * 640], 0);
}

// --- Cls and Color ---

TEST_F(TextTest, ClsAfterColorFillsWithAlphaZeroBlackAndPrintDrawsWhiteOnIt) {
  Color(0xFFFFFF, 0);
  Cls();
  for (int i : {0, 1, 640 * 240 + 320, 640 * 480 - 1}) EXPECT_EQ(Pixels()[i], 0u) << i;
  Print("A");
  EXPECT_TRUE(CellShows(0, 0, 'A', 0x00FFFFFFu, 0u));
}

TEST_F(TextTest, ClsWithoutModeClearsEverythingAndHomesTheCursor) {
  Print("abc", false);
  Locate(10, 10);
  FillWithPattern();
  ClearDirty();
  Cls();
  EXPECT_EQ(Snapshot(), std::vector<std::uint32_t>(640 * 480, kBlack));
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorColumn(), 0);
  EXPECT_EQ(Shadow(0, 1).ch, std::uint32_t(' '));
  EXPECT_EQ(DirtyRows(), Range(0, 479));
  EXPECT_EQ(CurrentContext().lastX, 320);
  EXPECT_EQ(CurrentContext().lastY, 240);
}

TEST_F(TextTest, ClsBlanksEveryShadowCellInTheCurrentColors) {
  for (int row = 1; row <= 30; ++row) {
    Locate(row, 1);
    Print(std::string(80, char('a' + row % 26)), false);
  }
  Color(0x123456, 0x654321);
  Cls();
  for (int row = 0; row < 30; ++row)
    for (int column = 0; column < 80; ++column) {
      const TextCell& cell = Shadow(row, column);
      ASSERT_EQ(cell.ch, std::uint32_t(' ')) << row << "," << column;
      ASSERT_EQ(cell.foreground, 0x123456u) << row << "," << column;
      ASSERT_EQ(cell.background, 0x654321u) << row << "," << column;
    }
}

TEST_F(TextTest, ClsModeOneClearsOnlyTheGraphicsView) {
  Locate(5, 5);
  CurrentContext().clip = Rect{10, 20, 30, 40};
  CurrentContext().viewSet = true;
  FillWithPattern();
  const auto before = Snapshot();
  ClearDirty();
  Cls();  // omitted acts as 1 while a view is set
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool inView = x >= 10 && x < 40 && y >= 20 && y < 60;
      ASSERT_EQ(At(x, y), inView ? kBlack : before[y * 640 + x]) << x << "," << y;
    }
  EXPECT_EQ(DirtyRows(), Range(20, 59));
  EXPECT_EQ(CursorRow(), 4);  // the text cursor stays
}

TEST_F(TextTest, ClsModeTwoClearsOnlyTheTextView) {
  Print("keep", false);
  Screen()->text.viewFirstRow = 5;
  Screen()->text.viewLastRow = 9;
  Locate(8, 3);
  Print("gone", false);
  FillWithPattern();
  const auto before = Snapshot();
  Cls();  // omitted acts as 2 with a narrowed text view
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool inView = y >= 80 && y < 160;
      ASSERT_EQ(At(x, y), inView ? kBlack : before[y * 640 + x]) << x << "," << y;
    }
  EXPECT_EQ(Shadow(7, 2).ch, std::uint32_t(' '));
  EXPECT_EQ(Shadow(0, 0).ch, std::uint32_t('k'));
  EXPECT_EQ(CursorRow(), 5);
  EXPECT_EQ(CursorColumn(), 0);
}

TEST_F(TextTest, ClsModeZeroIgnoresTheTextView) {
  Screen()->text.viewFirstRow = 5;
  Screen()->text.viewLastRow = 9;
  FillWithPattern();
  Cls(0);
  EXPECT_EQ(Snapshot(), std::vector<std::uint32_t>(640 * 480, kBlack));
  EXPECT_EQ(CursorRow(), 5);
}

// Everything Cls and Put leave behind on the screen.
struct ScreenAfter {
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint8_t> dirty;
  std::vector<std::uint32_t> shadow;  // character, foreground, background of each cell
  int cursorRow, cursorColumn, pendingNewline, lastX, lastY;
  Result result;

  static ScreenAfter Take(Result result) {
    ScreenAfter after{{Pixels(), Pixels() + 640 * 480}, Screen()->dirtyLines, {}, 0, 0, 0, 0, 0, result};
    for (const TextCell& cell : Screen()->text.shadow[0])
      after.shadow.insert(after.shadow.end(), {cell.ch, cell.foreground, cell.background});
    const TextState& text = Screen()->text;
    after.cursorRow = text.cursorRow;
    after.cursorColumn = text.cursorColumn;
    after.pendingNewline = text.pendingNewline;
    after.lastX = CurrentContext().lastX;
    after.lastY = CurrentContext().lastY;
    return after;
  }
  static std::uint32_t* Pixels() { return reinterpret_cast<std::uint32_t*>(Screen()->pages[0].pixels); }
};

// ClsAndPut leaves the fill out where the picture covers what the clear
// fills; whether it does or not, the screen must end as the two calls leave it.
TEST_F(TextTest, ClsAndPutLeavesWhatClsAndThenPutLeave) {
  struct Case {
    const char* name;
    int width, height, depth;  // width 0: no picture
    Rect view;                 // empty: no graphics view
    int viewFirstRow, viewLastRow;
  };
  const Case cases[] = {
      {"the whole screen", 640, 480, 0, {}, 0, 29},
      {"larger than the screen", 700, 500, 0, {}, 0, 29},
      {"one row short", 640, 479, 0, {}, 0, 29},
      {"one column short", 639, 480, 0, {}, 0, 29},
      {"a sprite", 32, 32, 0, {}, 0, 29},
      {"another pixel size", 640, 480, 16, {}, 0, 29},
      {"no picture", 0, 0, 0, {}, 0, 29},
      {"the graphics view", 30, 40, 0, {10, 20, 30, 40}, 0, 29},
      {"less than the graphics view", 30, 39, 0, {10, 20, 30, 40}, 0, 29},
      {"the rows of the text view", 640, 160, 0, {}, 5, 9},
      {"not the rows of the text view", 640, 100, 0, {}, 5, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImagePtr picture(c.width ? ImageCreate(c.width, c.height, 0, c.depth) : nullptr);
    if (picture) {
      const Surface s = ImageSurface(picture.get());
      for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width * s.bytesPerPixel; ++x) s.Row(y)[x] = std::uint8_t(x * 7 + y);
    }
    Color(0x112233, 0x445566);
    Locate(4, 1);
    Print("left in the shadow");
    Screen()->text.viewFirstRow = c.viewFirstRow;
    Screen()->text.viewLastRow = c.viewLastRow;
    Locate(8, 3);
    CurrentContext().viewSet = !c.view.Empty();
    if (CurrentContext().viewSet) CurrentContext().clip = c.view;
    FillWithPattern();
    const TextState text = Screen()->text;
    const DrawContext context = CurrentContext();

    ClearDirty();
    Cls();
    const ScreenAfter twoCalls = ScreenAfter::Take(Put(nullptr, 0, 0, picture.get()));
    Screen()->text = text;
    CurrentContext() = context;
    FillWithPattern();
    ClearDirty();
    const ScreenAfter oneCall = ScreenAfter::Take(ClsAndPut(picture.get()));

    EXPECT_EQ(oneCall.pixels, twoCalls.pixels);
    EXPECT_EQ(oneCall.dirty, twoCalls.dirty);
    EXPECT_EQ(oneCall.shadow, twoCalls.shadow);
    EXPECT_EQ(oneCall.cursorRow, twoCalls.cursorRow);
    EXPECT_EQ(oneCall.cursorColumn, twoCalls.cursorColumn);
    EXPECT_EQ(oneCall.pendingNewline, twoCalls.pendingNewline);
    EXPECT_EQ(oneCall.lastX, twoCalls.lastX);
    EXPECT_EQ(oneCall.lastY, twoCalls.lastY);
    EXPECT_EQ(oneCall.result, twoCalls.result);
    EXPECT_EQ(LastResult(), twoCalls.result);
  }
}

TEST_F(TextTest, ColorReturnsThePreviousForegroundAndHonoursOmittedFlags) {
  EXPECT_EQ(Color(0xFF0000, 0xFF0000), kWhite);
  EXPECT_EQ(CurrentContext().background, 0x00FF0000u);
  EXPECT_EQ(Color(0x00FF00, 0x123456, kColorBackgroundOmitted), 0x00FF0000u);
  EXPECT_EQ(CurrentContext().foreground, 0x0000FF00u);
  EXPECT_EQ(CurrentContext().background, 0x00FF0000u);
  EXPECT_EQ(Color(0x123456, 0x0000FF, kColorForegroundOmitted), 0x0000FF00u);
  EXPECT_EQ(CurrentContext().foreground, 0x0000FF00u);
  EXPECT_EQ(CurrentContext().background, 0x000000FFu);
}

TEST_F(TextTest, AnotherScreenModeResetsTheConsole) {
  Locate(30, 1);
  Print("x", true);
  Color(0xFF0000, 0x00FF00);
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_FALSE(Screen()->text.pendingNewline);
  EXPECT_EQ(Shadow(29, 0).ch, std::uint32_t(' '));
  EXPECT_EQ(CurrentContext().foreground, kWhite);
}

}  // namespace
}  // namespace rt
