#pragma once

#include <array>
#include <cstdint>

#include "gfx/bmp_header.h"
#include "gfx/byte_reader.h"
#include "gfx/screen.h"
#include "rt/result.h"

namespace rt {

// Everything the row converters look up, prepared once per file.
struct PixelTables {
  // Palette entries in the target's format (indexed files).
  std::array<std::uint32_t, 256> argb{};
  std::array<std::uint16_t, 256> rgb565{};
  // Masked files: each channel is (pixel >> shift) & mask, which indexes a
  // table holding the scaled channel already at its place in the target pixel.
  struct Channel {
    int shift = 0;
    std::uint32_t mask = 0;
    std::array<std::uint32_t, 256> placed{};
  };
  std::array<Channel, 4> channels{};
  std::uint32_t constantBits = 0;  // ORed into every pixel (an alpha the file lacks)
};

// Converts `pixels` pixels of one file row into the start of a target row.
using RowConverter = void (*)(const std::uint8_t* fileRow, std::uint8_t* targetRow, int pixels,
                              const PixelTables& tables);

// Chooses the converter for the file's pixels and the target's pixel size and
// fills `tables` for it; nullptr when the pair is not supported (more than
// 8 bits per pixel onto a 1-byte target).
RowConverter ChooseRowConverter(const BmpInfo& info, int targetBytesPerPixel, PixelTables& tables);

// Scales an n-bit channel value to m bits by bit replication (m <= 8).
std::uint32_t ScaleChannel(std::uint32_t value, int fromBits, int toBits);

// Decodes run-length compressed pixels (from the reader's position to its
// end) into `target`, bottom row first. Pixels the codes skip keep their
// color. ResultFileIoError for codes that run outside the image or data that
// ends before the image does.
Result DecodeRle(ByteReader& data, const BmpInfo& info, const Surface& target, const PixelTables& tables);

}  // namespace rt
