#pragma once

#include <cstddef>
#include <string>

namespace rt {

// One item as the item reader collected it from this thread's input source.
struct InputItem {
  std::string text;
  // A '.', 'E', 'e', 'D' or 'd' outside an ampersand number: read as a
  // floating-point number.
  bool floatingPoint = false;
  // A byte could not be put back (more than 4 were waiting); it is lost.
  bool putBackFailed = false;
};

inline constexpr std::size_t kMaxNumberItem = 67;
inline constexpr std::size_t kMaxTextItem = 4096;

// Reads the next item of at most `maxChars` characters. An item ends at an
// unquoted comma or at a line end (CR LF, LF or CR); a quoted item may hold
// commas; a number also ends at a blank. What follows an item that ended
// early is left as the start of the next one. At the end of data the item
// is empty.
InputItem ReadInputItem(std::size_t maxChars, bool textWanted);

}  // namespace rt
