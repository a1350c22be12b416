#pragma once

#include <string>
#include <string_view>

namespace rt {

// Prints the prompt (and "? " if asked) at the text cursor, lets the player
// type and edit one line on the graphics screen until Enter, prints a line
// end if asked, and returns the line as code page 437 bytes. The line also
// becomes this thread's input source for FileInputString and friends.
//
// Editing: the line is always in insert mode; Backspace, Delete (a beep at
// the end of the line), Tab to the next multiple of 8, Esc clears the line,
// Home, End, Left, Right, Up and Down by a row. Other keys, the window's close
// button included, are ignored. Without a screen the line is read from the
// standard input.
std::string InputLine(std::string_view prompt, bool addQuestionMark, bool addNewline);

}  // namespace rt
