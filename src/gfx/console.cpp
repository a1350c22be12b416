#include <algorithm>
#include <array>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "gfx/text_render.h"

namespace rt {

namespace {

constexpr std::uint8_t kBell = 7;
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kTab = 9;
constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kReturn = 13;
constexpr std::uint8_t kBottomLine = 255;
constexpr int kTabWidth = 8;
constexpr std::size_t kMaxRun = 1024;

// Sets a run of cells to one value. A 12-byte cell defeats the compiler's
// vector fill, so the filled part is copied onto the rest, doubling each time,
// and memcpy's wide stores do the work (a full clear sets 2400 cells).
void FillCells(TextCell* first, TextCell* last, const TextCell& value) {
  const std::size_t total = std::size_t(last - first);
  if (total == 0) return;
  *first = value;
  for (std::size_t done = 1; done < total;) {
    const std::size_t copied = std::min(done, total - done);
    std::memcpy(first + done, first, copied * sizeof(TextCell));
    done += copied;
  }
}

std::vector<TextCell>& WorkShadow(ScreenState& screen) {
  const int page = std::clamp(CurrentContext().workPage, 0, int(screen.text.shadow.size()) - 1);
  return screen.text.shadow[page];
}

// The cell grid of the open screen as one operation sees it: the work page,
// the calling thread's colors, and the union of pixel rows it touched.
class CellGrid {
 public:
  explicit CellGrid(ScreenState& screen)
      : screen_(screen),
        text_(screen.text),
        context_(CurrentContext()),
        surface_(ScreenSurface()),
        font_(FontByIndex(screen.font)),
        shadow_(WorkShadow(screen)) {}

  TextState& Text() { return text_; }
  const Surface& Target() const { return surface_; }

  void Touch(int firstY, int lastY) {
    if (lastY < firstY) return;
    firstDirty_ = std::min(firstDirty_, firstY);
    lastDirty_ = std::max(lastDirty_, lastY);
  }
  void MarkTouchedRows() const {
    if (surface_.isVisiblePage && lastDirty_ >= firstDirty_) MarkDirty(firstDirty_, lastDirty_);
  }

  // Draws the characters into the cells from (column, row) to the right.
  void WriteCells(int column, int row, std::string_view characters) {
    const int x = column * kFontWidth;
    const int y = row * font_.height;
    if (characters.size() == 1 && std::uint8_t(characters[0]) == kBottomLine) {
      // On its own this byte draws a line across the bottom of the cell.
      FillRect(surface_, Rect{x, y + font_.height - 1, kFontWidth, 1}, context_.foreground);
    } else {
      DrawCellsOpaque(surface_, font_, x, y, characters, context_.foreground, context_.background);
    }
    TextCell* cell = ShadowRow(row) + column;
    for (unsigned char character : characters)
      *cell++ = TextCell{character, context_.foreground, context_.background};
    Touch(y, y + font_.height - 1);
  }

  // Clears the text rows first..last (pixels and shadow) to the background.
  void ClearRows(int first, int last) {
    if (last < first) return;
    const int y = first * font_.height;
    const int height = (last - first + 1) * font_.height;
    FillRect(surface_, Rect{0, y, surface_.width, height}, context_.background);
    ClearShadowRows(first, last);
    Touch(y, y + height - 1);
  }

  void ClearShadowRows(int first, int last) { FillCells(ShadowRow(first), ShadowRow(last + 1), BlankCell()); }

  // Moves the text view up by `rows` rows; the freed rows become blank.
  void ScrollView(int rows) {
    const int first = text_.viewFirstRow;
    const int last = text_.viewLastRow;
    rows = std::min(rows, last - first + 1);
    const int kept = last - first + 1 - rows;
    if (kept > 0) {
      std::memmove(surface_.Row(first * font_.height), surface_.Row((first + rows) * font_.height),
                   std::size_t(kept) * font_.height * surface_.pitchBytes);
      std::copy(ShadowRow(first + rows), ShadowRow(last + 1), ShadowRow(first));
    }
    ClearRows(first + kept, last);
    Touch(first * font_.height, (last + 1) * font_.height - 1);
  }

  TextCell BlankCell() const { return TextCell{' ', context_.foreground, context_.background}; }
  // The row's first cell; the row just below the grid gives the end.
  TextCell* ShadowRow(int row) {
    assert(row >= 0 && row <= screen_.textRows);
    return shadow_.data() + std::size_t(row) * screen_.textColumns;
  }

 private:
  ScreenState& screen_;
  TextState& text_;
  DrawContext& context_;
  Surface surface_;
  const BuiltinFont& font_;
  std::vector<TextCell>& shadow_;
  int firstDirty_ = 1 << 30;
  int lastDirty_ = -1;
};

// One Print: writes bytes at the cursor, gathering written bytes into runs
// that are drawn together. It takes no memory, so console output never fails.
class ConsoleWriter {
 public:
  explicit ConsoleWriter(ScreenState& screen) : screen_(screen), grid_(screen), text_(grid_.Text()) {}

  void ResolvePendingNewline() {
    if (!text_.pendingNewline) return;
    text_.pendingNewline = false;
    NewLine();
    ScrollCursorIntoView();
  }

  void Write(std::string_view bytes) {
    for (unsigned char byte : bytes) {
      switch (byte) {
        case kBell:
          Flush();
          screen_.driver->Beep();
          break;
        case kBackspace:
          Flush();
          text_.cursorColumn = std::max(0, text_.cursorColumn - 1);
          break;
        case kTab:
          do Put(' ');
          while (text_.cursorColumn % kTabWidth != 0);
          break;
        case kLineFeed:
          Flush();
          NewLine();
          break;
        case kReturn:
          Flush();
          text_.cursorColumn = 0;
          break;
        default: Put(byte);
      }
    }
    Flush();
  }

  // A line end just below the view waits on the last cell until more output
  // comes, so the bottom row can be written without scrolling the screen.
  void Finish() {
    if (text_.cursorColumn == 0 && text_.cursorRow == text_.viewLastRow + 1) {
      text_.cursorColumn = screen_.textColumns - 1;
      text_.cursorRow = text_.viewLastRow;
      text_.pendingNewline = true;
    } else {
      ScrollCursorIntoView();
    }
    grid_.MarkTouchedRows();
  }

 private:
  void Put(std::uint8_t byte) {
    if (runLength_ == 0) {
      ScrollCursorIntoView();
      runColumn_ = text_.cursorColumn;
      runRow_ = text_.cursorRow;
    }
    run_[runLength_++] = char(byte);
    if (++text_.cursorColumn == screen_.textColumns) {
      Flush();
      NewLine();
    } else if (runLength_ == run_.size()) {
      Flush();
    }
  }

  void Flush() {
    if (runLength_ == 0) return;
    grid_.WriteCells(runColumn_, runRow_, std::string_view(run_.data(), runLength_));
    runLength_ = 0;
  }

  void NewLine() {
    text_.cursorColumn = 0;
    ++text_.cursorRow;
  }

  void ScrollCursorIntoView() {
    if (text_.cursorRow <= text_.viewLastRow) return;
    grid_.ScrollView(text_.cursorRow - text_.viewLastRow);
    text_.cursorRow = text_.viewLastRow;
  }

  ScreenState& screen_;
  CellGrid grid_;
  TextState& text_;
  std::array<char, kMaxRun> run_;
  std::size_t runLength_ = 0;
  int runColumn_ = 0;
  int runRow_ = 0;
};

// The mode Cls takes when none is given: the graphics view when one is set,
// else the whole page, or the text view when it is narrower than the grid.
int OmittedClsMode(const ScreenState& screen) {
  const TextState& text = screen.text;
  const bool wholeGrid = text.viewFirstRow == 0 && text.viewLastRow == screen.textRows - 1;
  return CurrentContext().viewSet ? 1 : wholeGrid ? 0 : 2;
}

// The pixels Cls of a resolved mode fills on `page`.
Rect ClsArea(const ScreenState& screen, int mode, const Surface& page) {
  const BuiltinFont& font = FontByIndex(screen.font);
  switch (mode) {
    case 0: return Bounds(page);
    case 1: return Intersect(CurrentContext().clip, Bounds(page));
    default: {
      const int first = screen.text.viewFirstRow * font.height;
      return Rect{0, first, page.width, (screen.text.viewLastRow + 1) * font.height - first};
    }
  }
}

// Whether Put(nullptr, 0, 0, picture) writes every pixel of `area` of the
// work page: the picture goes to the view's corner, clipped to the view.
bool PutCovers(const ImageBuffer* picture, const Surface& page, const Rect& area) {
  const Surface source = ImageSurface(picture);
  if (source.width == 0 || source.bytesPerPixel != page.bytesPerPixel) return false;
  const Rect& view = CurrentContext().clip;
  const Rect written =
      Intersect(Rect{view.left, view.top, source.width, source.height}, Intersect(view, Bounds(page)));
  return Contains(written, area);
}

// Cls with the mode resolved; `fill` false leaves the pixels to a caller
// that overwrites every one of them before it releases the lock.
void Clear(ScreenState& screen, int mode, bool fill) {
  TextState& text = screen.text;
  DrawContext& context = CurrentContext();
  CellGrid grid(screen);
  const Surface& surface = grid.Target();
  const Rect area = ClsArea(screen, mode, surface);
  if (fill) FillRect(surface, area, context.background);
  grid.Touch(area.top, area.top + area.height - 1);
  if (mode == 0 || mode == 1) {
    context.lastX = context.clip.width / 2;
    context.lastY = context.clip.height / 2;
  }
  if (mode == 0) grid.ClearShadowRows(0, screen.textRows - 1);
  if (mode == 2) grid.ClearShadowRows(text.viewFirstRow, text.viewLastRow);
  if (mode == 0 || mode == 2) {
    text.cursorRow = text.viewFirstRow;
    text.cursorColumn = 0;
    text.pendingNewline = false;
  }
  grid.MarkTouchedRows();
}

}  // namespace

void Print(std::string_view text, bool newline) {
  ScreenState* screen = Screen();
  if (!screen) {
    // Without a graphics screen the text goes to the plain console.
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (newline) std::fputc('\n', stdout);
    return;
  }
  ScreenLock();
  ConsoleWriter writer(*screen);
  writer.ResolvePendingNewline();
  writer.Write(text);
  if (newline) writer.Write("\r\n");
  writer.Finish();
  ScreenUnlock(1, 0);
}

void Locate(int row, int column) {
  ScreenState* screen = Screen();
  if (!screen) return;
  TextState& text = screen->text;
  text.pendingNewline = false;
  if (row > 0) text.cursorRow = std::min(row, screen->textRows) - 1;
  if (column > 0) text.cursorColumn = std::min(column, screen->textColumns) - 1;
}

void Cls(int mode) {
  ScreenState* screen = Screen();
  if (!screen) return;
  if (mode == kOmitted) mode = OmittedClsMode(*screen);
  if (mode < 0 || mode > 2) return;
  ScreenLock();
  Clear(*screen, mode, true);
  ScreenUnlock(1, 0);
}

Result ClsAndPut(const ImageBuffer* picture) {
  ScreenState* screen = Screen();
  if (!screen) return Put(nullptr, 0, 0, picture);
  ScreenLock();
  const int mode = OmittedClsMode(*screen);
  const Surface page = ScreenSurface();
  Clear(*screen, mode, !PutCovers(picture, page, ClsArea(*screen, mode, page)));
  const Result result = Put(nullptr, 0, 0, picture);
  ScreenUnlock(1, 0);
  return result;
}

}  // namespace rt
