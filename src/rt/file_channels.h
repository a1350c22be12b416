#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "rt/result.h"

namespace rt {

// Files are reached through numbers 1..255 (0 is the console, never a file).
// Every operation returns a result code and records it as LastResult().
// Operations on a number that is not open give ResultIllegalCall and change
// nothing. The number table is one for the process and takes no lock.
enum FileMode : int {
  FileModeBinary = 0,  // read and write, created if missing
  FileModeRandom = 1,  // as Binary
  FileModeInput = 2,   // an existing file, read only, from its first byte
  FileModeOutput = 3,  // replaces the file when the channel is closed
  FileModeAppend = 4,  // writes after the end, created if missing
};

// The lowest number on which no file is open, 0 when all are in use. It
// reserves nothing.
int FreeFileNumber();

// ResultIllegalCall for a number outside 1..255 or already open (that file
// stays untouched) and for an unknown mode; ResultFileNotFound when the file
// cannot be opened or is no regular file, such as a folder, a named pipe or
// a device (the number stays free). Nothing waits for a pipe's other end.
Result FileOpen(std::string_view fileName, int mode, int fileNumber);

// Frees the number. An Output channel's new content replaces the target
// here; ResultFileIoError (number freed, target untouched) if it could not.
Result FileClose(int fileNumber);

// Closes every open channel, committing Output channels. Also runs at
// process exit, so a plain exit() keeps what was written.
void CloseAllFiles();

// Reads up to `byteCount` bytes from `position` (1 is the first byte, 0 the
// current position). Bytes beyond the end of the file leave the destination
// as it was; that is not an error. Negative positions give ResultIllegalCall.
Result FileGetAt(int fileNumber, long long position, void* destination, std::size_t byteCount);

// Text records: one line of comma-separated items, integers in decimal,
// texts between double quotes (nothing escaped), the last item followed by
// CR LF instead of a comma.
Result FileWriteInt(int fileNumber, int value, bool lastItem);
Result FileWriteString(int fileNumber, std::string_view text, bool lastItem);

// Makes the channel this thread's input source for the items that follow.
// On a number that is not open the source becomes one without data.
Result FileInputBegin(int fileNumber);
// Read one item from this thread's input source; past the end of data they
// give 0 and the empty text. ResultFileIoError only when more than 4 bytes
// would have to be put back.
Result FileInputInt(int& value);
Result FileInputString(std::string& value);
// This thread's input source becomes `text`, read from its start.
void SetInputText(std::string text);

// The folder of the running executable, "/" as separator and none at the
// end (the root stays "/"); empty when it cannot be found.
std::string ExecutableFolder();

}  // namespace rt
