#include "gfx/bmp_header.h"

#include <algorithm>
#include <bit>

namespace rt {

namespace {

constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM"
constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreInfoBytes = 12;

bool ValidBitCount(int bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || (bits > 8 && bits <= 32);
}

// Each compression goes with its own bit counts.
bool CompressionFits(std::uint32_t compression, int bits) {
  switch (compression) {
    case BmpPlain: return true;
    case BmpRle8: return bits == 8;
    case BmpRle4: return bits == 4;
    case BmpBitFields: return bits > 8;
    default: return false;
  }
}

// A usable mask is one run of set bits.
bool Contiguous(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t run = mask >> std::countr_zero(mask);
  return (run & (run + 1)) == 0;
}

// How many entries the table holds: as many as the header's color count
// says (0, or a header without one: 2^bits), at most 2^bits, and no more
// than fit before the pixel data.
std::uint64_t ColorTableEntries(ByteReader& file, const BmpInfo& info, int entryBytes) {
  std::uint64_t entries = info.paletteEntries;
  if (info.infoSize >= 36) {
    file.Seek(kFileHeaderBytes + 32);
    const std::uint32_t used = file.U32();
    if (used != 0) entries = std::min<std::uint64_t>(entries, used);
  }
  if (info.dataOffset > info.headersEnd) {
    entries = std::min<std::uint64_t>(entries, (info.dataOffset - info.headersEnd) / entryBytes);
  }
  return entries;
}

}  // namespace

Result ReadBmpHeaders(ByteReader& file, BmpInfo& info) {
  file.Seek(0);
  const std::uint16_t signature = file.U16();
  file.Skip(8);  // file size and the two reserved fields
  info.dataOffset = file.U32();
  info.infoSize = file.U32();
  std::int64_t height = 0;
  int planes = 0;
  if (info.infoSize == kCoreInfoBytes) {
    info.width = file.I16();
    height = file.I16();
    planes = file.U16();
    info.bitsPerPixel = file.U16();
  } else if (info.infoSize >= 16) {
    info.width = file.I32();
    height = file.I32();
    planes = file.U16();
    info.bitsPerPixel = file.U16();
    if (info.infoSize >= 20) info.compression = file.U32();
  } else {
    return ResultFileIoError;
  }
  if (!file.Ok() || signature != kBmpSignature || planes >= 2 || info.width <= 0 || height == 0) {
    return ResultFileIoError;
  }
  if (!ValidBitCount(info.bitsPerPixel) || !CompressionFits(info.compression, info.bitsPerPixel)) {
    return ResultFileIoError;
  }
  info.topDown = height < 0;
  if (info.topDown && info.compression != BmpPlain && info.compression != BmpBitFields)
    return ResultFileIoError;
  if (height < -0x7FFFFFFF) return ResultFileIoError;
  info.height = static_cast<std::int32_t>(info.topDown ? -height : height);
  info.headersEnd = kFileHeaderBytes + info.infoSize;
  return ResultOk;
}

Result ReadColorTable(ByteReader& file, BmpInfo& info) {
  if (info.bitsPerPixel > 8) return ResultOk;
  info.paletteEntries = 1 << info.bitsPerPixel;
  const bool core = info.infoSize == kCoreInfoBytes;
  const std::uint64_t entries = ColorTableEntries(file, info, core ? 3 : 4);
  file.Seek(info.headersEnd);
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint32_t blue = file.U8();
    const std::uint32_t green = file.U8();
    const std::uint32_t red = file.U8();
    if (!core) file.Skip(1);
    info.palette[i] = red | (green << 8) | (blue << 16);
  }
  if (!file.Ok()) return ResultFileIoError;
  info.headersEnd = file.Position();
  return ResultOk;
}

Result ReadBitMasks(ByteReader& file, BmpInfo& info) {
  if (info.bitsPerPixel <= 8) return ResultOk;
  if (info.compression != BmpBitFields) {
    info.masks = info.bitsPerPixel <= 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                                         : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    return ResultOk;
  }
  // Headers of 52 bytes and more carry the masks at offset 40 (alpha from 56
  // on); shorter ones are followed by the red, green and blue masks.
  const bool inHeader = info.infoSize >= 52;
  file.Seek(inHeader ? kFileHeaderBytes + 40 : info.headersEnd);
  for (int i = 0; i < 3; ++i) info.masks[i] = file.U32();
  info.masks[3] = info.infoSize >= 56 ? file.U32() : 0;
  if (!file.Ok()) return ResultFileIoError;
  if (!inHeader) info.headersEnd = file.Position();
  for (int i = 0; i < 3; ++i) {
    if (!Contiguous(info.masks[i])) return ResultFileIoError;
  }
  if (info.masks[3] != 0 && !Contiguous(info.masks[3])) return ResultFileIoError;
  return ResultOk;
}

std::uint64_t BmpPixelDataOffset(const BmpInfo& info) {
  return info.dataOffset != 0 ? info.dataOffset : info.headersEnd;
}

std::uint64_t BmpRowPixelBytes(const BmpInfo& info) {
  if (info.bitsPerPixel < 8) return (std::uint64_t(info.width) * info.bitsPerPixel + 7) / 8;
  return std::uint64_t(info.width) * ((info.bitsPerPixel + 7) / 8);
}

std::uint64_t BmpRowStride(const BmpInfo& info) { return (BmpRowPixelBytes(info) + 3) & ~std::uint64_t(3); }

}  // namespace rt
