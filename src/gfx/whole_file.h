#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rt/result.h"

namespace rt {

// The program's file names may use "\" as the folder separator
// ("screenshots\shot.bmp"); on this platform it becomes "/".
std::string NativeFileName(std::string_view fileName);

// The bytes of a whole regular file, for reading. A file up to `readLimit`
// bytes is read into the caller's buffer; a larger one is mapped, so that only
// the parts the caller looks at are brought in, whatever the file's size.
// (Another program cutting a mapped file short while it is read would fault
// the reader; only files beyond the limit run that risk.)
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  // Opens without blocking, so that a named pipe is refused rather than
  // waited on. ResultFileNotFound when the file cannot be opened or is no
  // regular file, ResultFileIoError when reading or mapping it fails.
  Result Open(const std::string& path, std::size_t readLimit, std::vector<std::uint8_t>& buffer);
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
  void* mapping_ = nullptr;
};

// Replaces `path` with `bytes` all at once, as an Output channel does (see
// FileReplacement): a failed write leaves the old file (or none) rather than
// a truncated one. ResultFileNotFound for what opening for writing would
// refuse (a protected file, a folder that takes no new one), ResultFileIoError
// when writing fails.
Result WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace rt
