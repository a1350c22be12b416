#include "input/line_input.h"

#include <algorithm>
#include <iostream>
#include <new>
#include <string>

#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "input/clock.h"
#include "input/key_codes.h"
#include "input/keyboard.h"
#include "rt/file_channels.h"

namespace rt {

namespace {

constexpr int kWaitMs = 25;
constexpr int kTabWidth = 8;
constexpr char kCursorMark = '\xFF';

// Waits for a typed key; its code (second byte * 256 + 255 for a two-byte one).
int WaitForKey() {
  for (;;) {
    while (!KeyHit()) SleepOn(ActiveClock(), kWaitMs);
    const std::string key = Inkey();
    if (key.size() == 1) return static_cast<unsigned char>(key[0]);
    if (key.size() == 2) return ExtendedKeyCode(static_cast<unsigned char>(key[1]));
  }
}

void Beep() {
  ScreenLock();
  Screen()->driver->Beep();
  ScreenUnlock(1, 0);
}

// The line on the console grid. Cells are numbered row * columns + column
// over the whole grid; the line's cells follow each other from `start_`,
// wrapping at the last column. When the screen scrolls, `start_` moves up
// a row (and may leave the grid at the top).
class LineEditor {
 public:
  explicit LineEditor(const ScreenState& screen)
      : text_(screen.text),
        columns_(screen.textColumns),
        cellCount_((screen.text.viewLastRow + 1) * columns_) {
    start_ = CursorCell();
  }

  std::string Run() {
    // A prompt that ended in the bottom-right cell left its line break
    // pending; the line's first cell is reached by scrolling once, here.
    PlaceCursor(pos_);
    for (;;) {
      ShowCursorMark();
      const int code = WaitForKey();
      RestoreCell();
      if (code == kKeyEnter || code == kKeyCtrlEnter) break;
      try {
        Act(code);
      } catch (const std::bad_alloc&) {
        // A key that needs more memory than there is changes nothing.
      }
    }
    PlaceCursor(int(line_.size()));
    return std::move(line_);
  }

 private:
  void Act(int code) {
    const int length = int(line_.size());
    switch (code) {
      case kKeyBackspace:
        if (pos_ > 0) {
          PlaceCursor(--pos_);
          Erase();
        }
        break;
      case kKeyTab: Insert(std::string(kTabWidth - pos_ % kTabWidth, ' ')); break;
      case kKeyEscape: Clear(); break;
      case kKeyHome: PlaceCursor(pos_ = 0); break;
      case kKeyEnd: PlaceCursor(pos_ = length); break;
      case kKeyLeft:
        if (pos_ > 0) PlaceCursor(--pos_);
        break;
      case kKeyRight:
        if (pos_ < length) PlaceCursor(++pos_);
        break;
      case kKeyUp:
        if (pos_ >= columns_) PlaceCursor(pos_ -= columns_);
        break;
      case kKeyDown:
        if (length >= pos_ + columns_) PlaceCursor(pos_ += columns_);
        break;
      case kKeyDelete:
        if (pos_ == length) {
          Beep();
        } else {
          Erase();
        }
        break;
      default:
        if (code >= 32 && code <= 255) Insert(std::string(1, char(code)));
    }
  }

  void Insert(const std::string& characters) {
    line_.insert(std::size_t(pos_), characters);
    PrintFrom(pos_, std::string_view(line_).substr(std::size_t(pos_)));
    pos_ += int(characters.size());
    PlaceCursor(pos_);
  }

  // Removes the character at the cursor and closes the gap on screen.
  void Erase() {
    const std::string rest = line_.substr(std::size_t(pos_) + 1) + ' ';
    line_.erase(std::size_t(pos_), 1);
    PrintFrom(pos_, rest);
    PlaceCursor(pos_);
  }

  void Clear() {
    pos_ = 0;
    if (!line_.empty()) PrintFrom(0, std::string(line_.size(), ' '));
    line_.clear();
    PlaceCursor(0);
  }

  // The cursor mark is a line across the bottom of the cursor's cell.
  void ShowCursorMark() {
    Print(std::string_view(&kCursorMark, 1), false);
    PlaceCursor(pos_);
  }

  void RestoreCell() {
    Print(pos_ < int(line_.size()) ? line_.substr(std::size_t(pos_), 1) : " ", false);
    PlaceCursor(pos_);
  }

  // Prints the bytes from line position `from` on and notes any scrolling.
  void PrintFrom(int from, std::string_view bytes) {
    PlaceCursor(from);
    const int expected = start_ + from + int(bytes.size());
    Print(bytes, false);
    start_ -= expected - CursorCell();
  }

  // Puts the text cursor on the cell of line position `at`. A cell below the
  // grid is reached by a line break at the bottom-right cell, which scrolls.
  void PlaceCursor(int at) {
    while (start_ + at >= cellCount_) {
      Locate(cellCount_ / columns_, columns_);
      Print("", true);
      Print("", false);  // the break waits at the bottom until output follows
      start_ -= columns_;
    }
    const int cell = std::max(start_ + at, 0);
    Locate(cell / columns_ + 1, cell % columns_ + 1);
  }

  // The cursor's cell; a line end waiting at the bottom counts as the cell after it.
  int CursorCell() const {
    return text_.cursorRow * columns_ + text_.cursorColumn + (text_.pendingNewline ? 1 : 0);
  }

  const TextState& text_;
  const int columns_;
  const int cellCount_;
  int start_ = 0;
  int pos_ = 0;
  std::string line_;
};

std::string ReadStandardInput() {
  std::string line;
  std::getline(std::cin, line);
  return line;
}

}  // namespace

std::string InputLine(std::string_view prompt, bool addQuestionMark, bool addNewline) {
  SetInputText({});
  if (!prompt.empty()) Print(prompt, false);
  if (addQuestionMark) Print("? ", false);
  ScreenState* screen = Screen();
  std::string line;
  try {
    line = screen ? LineEditor(*screen).Run() : ReadStandardInput();
    SetInputText(line);
  } catch (const std::bad_alloc&) {
    // The line could not be kept: it reads as empty.
    line.clear();
  }
  if (addNewline && screen) Print("", true);
  return line;
}

}  // namespace rt
