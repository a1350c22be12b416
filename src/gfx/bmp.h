#pragma once

#include <string_view>

#include "gfx/image.h"
#include "rt/result.h"

namespace rt {

// Reads a BMP file into `target` (nullptr: the screen's work page), converting
// to its pixel format. A larger picture is clipped, a smaller one fills the
// top-left corner and leaves the rest. Indexed files also load the screen's
// palette. "\" in the name separates folders. ResultIllegalCall for no
// screen or an unsupported pair (more than 8 bits onto a 1-byte target),
// ResultFileNotFound when the file cannot be opened, ResultFileIoError for
// contents it cannot read, in which case the rows converted before the fault
// stay. Records the result.
Result Bload(std::string_view fileName, ImageBuffer* target = nullptr);

// Writes `source` (nullptr: the screen's work page) as an uncompressed BMP:
// 8 bits with the screen's palette from 1-byte pixels, 24 bits from 2-byte
// pixels, 32 bits from 4-byte pixels (an image's bytes as stored; the
// screen's with 0xFF as every fourth byte, as it has no transparency).
// `requestedBits` 24 asks for 24 bits from 1- or 4-byte pixels instead. The
// name must end in ".bmp" (any case); the file is replaced only once fully
// written, keeping its permissions. ResultIllegalCall for no screen, a bad
// source or another extension, ResultFileNotFound when the file cannot be
// created or is protected, ResultFileIoError when writing fails,
// ResultOutOfMemory when memory runs out. Records the result.
Result Bsave(std::string_view fileName, const ImageBuffer* source = nullptr, int requestedBits = 0);

}  // namespace rt
