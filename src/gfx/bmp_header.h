#pragma once

#include <array>
#include <cstdint>

#include "gfx/byte_reader.h"
#include "rt/result.h"

namespace rt {

enum BmpCompression : std::uint32_t { BmpPlain = 0, BmpRle8 = 1, BmpRle4 = 2, BmpBitFields = 3 };

// What the headers of a BMP file say, after checking. Sizes are positive and
// the pixel layout is one this loader converts; `topDown` replaces the sign
// of the stored height.
struct BmpInfo {
  std::uint32_t infoSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = BmpPlain;
  std::uint32_t dataOffset = 0;  // as stored; 0 means right after the headers
  std::uint64_t headersEnd = 0;  // grows as each stage reads its part
  // Indexed files: 2^bits entries as 0x00BBGGRR (red in the low byte);
  // those past the file's table are 0, black.
  int paletteEntries = 0;
  std::array<std::uint32_t, 256> palette{};
  // Red, green, blue and alpha masks of files with more than 8 bits.
  std::array<std::uint32_t, 4> masks{};
};

// The loader's stages, in order; each reads through `file` and answers
// ResultOk or ResultFileIoError for contents it cannot take.
Result ReadBmpHeaders(ByteReader& file, BmpInfo& info);
Result ReadColorTable(ByteReader& file, BmpInfo& info);
Result ReadBitMasks(ByteReader& file, BmpInfo& info);

// Where the pixels start.
std::uint64_t BmpPixelDataOffset(const BmpInfo& info);
// Bytes of one row's pixels and the distance from one row to the next.
std::uint64_t BmpRowPixelBytes(const BmpInfo& info);
std::uint64_t BmpRowStride(const BmpInfo& info);

}  // namespace rt
