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

// Reads a whole regular file into `bytes` (replacing its contents).
// ResultFileNotFound when it cannot be opened or is not a regular file,
// ResultFileIoError when it is larger than `maxBytes` or a read fails.
Result ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);

// Replaces `path` with `bytes` all at once, as an Output channel does (see
// FileReplacement): a failed write leaves the old file (or none) rather than
// a truncated one. ResultFileNotFound for what opening for writing would
// refuse (a protected file, a folder that takes no new one), ResultFileIoError
// when writing fails.
Result WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace rt
