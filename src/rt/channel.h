#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "rt/file_channels.h"
#include "rt/file_replacement.h"
#include "rt/result.h"

namespace rt {

// One open file behind a file number. Bytes pass untranslated.
//
// Output never touches the target until Close: the bytes go to a
// FileReplacement, which Close puts in place whole.
class Channel {
 public:
  // Opens `path` in `mode` (FileModeBinary..FileModeAppend); on failure gives
  // nullptr and sets `result` to ResultFileNotFound.
  static std::unique_ptr<Channel> Open(const std::string& path, FileMode mode, Result& result);
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;
  // Drops an uncommitted output; Close is the way to keep it.
  ~Channel();

  // Ends the channel; for Output, commits the new content. ResultFileIoError
  // when anything written could not be kept (the target is then untouched).
  Result Close();

  FileMode Mode() const { return mode_; }
  // Size in bytes when opened (Input and the read-write modes).
  long long SizeAtOpen() const { return sizeAtOpen_; }
  // Identifies this opening, so that a stale reference to a reused number
  // can tell the channel it meant has gone.
  std::uint64_t Serial() const { return serial_; }

  // The next byte (put-back bytes first), or -1 at the end or when the mode
  // does not read.
  int ReadByte();
  // Puts one byte back in front of the next read; false when 4 are waiting.
  bool PutBack(unsigned char byte);
  // Seeks to a 0-based byte offset and forgets put-back bytes.
  bool Seek(long long offset);
  // Reads up to `byteCount` bytes (put-back bytes first); returns how many.
  std::size_t Read(void* destination, std::size_t byteCount);
  bool Write(std::string_view bytes);

  bool CanRead() const { return mode_ != FileModeOutput && mode_ != FileModeAppend; }
  bool CanWrite() const { return mode_ != FileModeInput; }

 private:
  enum class LastAccess { None, Read, Write };
  Channel(FileMode mode, std::FILE* file);
  void SwitchTo(LastAccess access);
  Result CommitOutput();

  FileMode mode_;
  std::FILE* file_;
  long long sizeAtOpen_ = 0;
  std::uint64_t serial_;
  std::unique_ptr<FileReplacement> replacement_;  // Output only
  bool writeFailed_ = false;
  LastAccess lastAccess_ = LastAccess::None;
  std::array<unsigned char, 4> putBack_{};
  int putBackCount_ = 0;
};

// The channel open on `fileNumber`, or nullptr when the number is free or
// outside 1..255.
Channel* ChannelOn(int fileNumber);

}  // namespace rt
