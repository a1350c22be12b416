#include "gfx/bmp_pixels.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "gfx/pixel_format.h"
#include "gfx/rgb_rows.h"

namespace rt {

namespace {

// Red, green and blue masks of the forms with a converter of their own.
using ColorMasks = std::array<std::uint32_t, 3>;
constexpr ColorMasks kMasks555 = {0x7C00, 0x03E0, 0x001F};
constexpr ColorMasks kMasks565 = {0xF800, 0x07E0, 0x001F};
constexpr ColorMasks kMasks888 = {0xFF0000, 0xFF00, 0xFF};
constexpr std::uint32_t kAlphaMask8 = 0xFF000000;

// Where each channel goes in a target pixel, and how wide it is there.
struct ChannelPlace {
  int position;
  int bits;
};
constexpr ChannelPlace kPlaces32[4] = {{16, 8}, {8, 8}, {0, 8}, {24, 8}};
constexpr ChannelPlace kPlaces16[3] = {{11, 5}, {5, 6}, {0, 5}};

template <typename Out>
Out Lookup(unsigned index, const PixelTables& t) {
  if constexpr (sizeof(Out) == 4) {
    return t.argb[index];
  } else if constexpr (sizeof(Out) == 2) {
    return t.rgb565[index];
  } else {
    return static_cast<Out>(index);
  }
}

template <int FileBytes>
std::uint32_t ReadPixel(const std::uint8_t* p) {
  if constexpr (FileBytes == 3) {
    return p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
  } else {
    std::conditional_t<FileBytes == 2, std::uint16_t, std::uint32_t> value;
    std::memcpy(&value, p, FileBytes);
    return value;
  }
}

// 1, 2, 4 or 8 bits per pixel, the leftmost pixel in the high bits.
template <int Bits, typename Out>
void IndexedRow(const std::uint8_t* src, std::uint8_t* dstBytes, int pixels, const PixelTables& t) {
  constexpr int kPerByte = 8 / Bits;
  constexpr unsigned kIndexMask = (1u << Bits) - 1;
  auto* dst = reinterpret_cast<Out*>(dstBytes);
  for (int i = 0; i < pixels; ++i) {
    const unsigned index = (src[i / kPerByte] >> (8 - Bits - (i % kPerByte) * Bits)) & kIndexMask;
    dst[i] = Lookup<Out>(index, t);
  }
}

void CopyIndices(const std::uint8_t* src, std::uint8_t* dst, int pixels, const PixelTables&) {
  std::memcpy(dst, src, std::size_t(pixels));
}

void CopyArgb(const std::uint8_t* src, std::uint8_t* dst, int pixels, const PixelTables&) {
  std::memcpy(dst, src, std::size_t(pixels) * 4);
}

void BgrToArgb(const std::uint8_t* src, std::uint8_t* dst, int pixels, const PixelTables&) {
  BgrToArgbRow(src, reinterpret_cast<std::uint32_t*>(dst), pixels);
}

void Rgb555ToArgb(const std::uint8_t* src, std::uint8_t* dst, int pixels, const PixelTables&) {
  Rgb555ToArgbRow(src, reinterpret_cast<std::uint32_t*>(dst), pixels);
}

void Rgb565ToArgb(const std::uint8_t* src, std::uint8_t* dst, int pixels, const PixelTables&) {
  Rgb565ToArgbRow(src, reinterpret_cast<std::uint32_t*>(dst), pixels);
}

template <int FileBytes, int Channels, typename Out>
void MaskedRow(const std::uint8_t* src, std::uint8_t* dstBytes, int pixels, const PixelTables& t) {
  auto* dst = reinterpret_cast<Out*>(dstBytes);
  for (int i = 0; i < pixels; ++i, src += FileBytes) {
    const std::uint32_t p = ReadPixel<FileBytes>(src);
    std::uint32_t out = t.constantBits;
    for (int c = 0; c < Channels; ++c) {
      const PixelTables::Channel& ch = t.channels[c];
      out |= ch.placed[(p >> ch.shift) & ch.mask];
    }
    dst[i] = static_cast<Out>(out);
  }
}

void FillPaletteTables(const BmpInfo& info, PixelTables& t) {
  for (int i = 0; i < info.paletteEntries; ++i) {
    const std::uint32_t rgb = SwapRedBlue(info.palette[i]);
    t.argb[i] = 0xFF000000u | rgb;
    t.rgb565[i] = Rgb565FromRgb(rgb);
  }
}

// A channel wider than 8 bits keeps only its top 8 before scaling, which
// gives the same result as scaling the full value.
void FillChannel(std::uint32_t mask, ChannelPlace place, PixelTables::Channel& ch) {
  ch.shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  if (bits > 8) {
    ch.shift += bits - 8;
    bits = 8;
  }
  ch.mask = (1u << bits) - 1;
  for (std::uint32_t v = 0; v <= ch.mask; ++v)
    ch.placed[v] = ScaleChannel(v, bits, place.bits) << place.position;
}

template <typename Out>
RowConverter IndexedFor(int bits) {
  switch (bits) {
    case 1: return IndexedRow<1, Out>;
    case 2: return IndexedRow<2, Out>;
    case 4: return IndexedRow<4, Out>;
    default: return IndexedRow<8, Out>;
  }
}

template <int Channels, typename Out>
RowConverter MaskedFor(int fileBytes) {
  switch (fileBytes) {
    case 2: return MaskedRow<2, Channels, Out>;
    case 3: return MaskedRow<3, Channels, Out>;
    default: return MaskedRow<4, Channels, Out>;
  }
}

RowConverter ChooseIndexed(const BmpInfo& info, int targetBytesPerPixel, PixelTables& t) {
  FillPaletteTables(info, t);
  switch (targetBytesPerPixel) {
    case 1: return info.bitsPerPixel == 8 ? CopyIndices : IndexedFor<std::uint8_t>(info.bitsPerPixel);
    case 2: return IndexedFor<std::uint16_t>(info.bitsPerPixel);
    default: return IndexedFor<std::uint32_t>(info.bitsPerPixel);
  }
}

RowConverter ChooseMasked(const BmpInfo& info, int targetBytesPerPixel, PixelTables& t) {
  const int fileBytes = (info.bitsPerPixel + 7) / 8;
  const auto& m = info.masks;
  const auto colorMasksAre = [&m](const ColorMasks& masks) {
    return std::equal(masks.begin(), masks.end(), m.begin());
  };
  if (targetBytesPerPixel == 2) {
    for (int c = 0; c < 3; ++c) FillChannel(m[c], kPlaces16[c], t.channels[c]);
    return MaskedFor<3, std::uint16_t>(fileBytes);
  }
  if (fileBytes == 2 && colorMasksAre(kMasks555)) return Rgb555ToArgb;
  if (fileBytes == 2 && colorMasksAre(kMasks565)) return Rgb565ToArgb;
  if (fileBytes == 3 && colorMasksAre(kMasks888)) return BgrToArgb;
  if (fileBytes == 4 && colorMasksAre(kMasks888) && m[3] == kAlphaMask8) return CopyArgb;
  for (int c = 0; c < 3; ++c) FillChannel(m[c], kPlaces32[c], t.channels[c]);
  // Only files of more than 24 bits carry alpha; without an alpha mask it is 0.
  if (info.bitsPerPixel <= 24) {
    t.constantBits = 0xFF000000u;
  } else if (m[3] != 0) {
    FillChannel(m[3], kPlaces32[3], t.channels[3]);
    return MaskedFor<4, std::uint32_t>(fileBytes);
  }
  return MaskedFor<3, std::uint32_t>(fileBytes);
}

// Run-length codes: a count with a color byte, or 0 with an escape.
enum RleEscape : std::uint8_t { RleEndOfLine = 0, RleEndOfBitmap = 1, RleDelta = 2 };

template <typename Out>
Result DecodeRleInto(ByteReader& data, const BmpInfo& info, const Surface& target, const PixelTables& t) {
  const int width = info.width;
  const int height = info.height;
  const int visibleWidth = std::min(width, target.width);
  const bool nibbles = info.bitsPerPixel == 4;
  // y counts rows from the bottom of the picture, as the codes do.
  auto store = [&](int x, int y, unsigned index) {
    const int row = height - 1 - y;
    if (row < target.height && x < visibleWidth)
      reinterpret_cast<Out*>(target.Row(row))[x] = Lookup<Out>(index, t);
  };

  int x = 0;
  int y = 0;
  while (data.Remaining() >= 2) {
    const int count = data.U8();
    const int value = data.U8();
    if (count > 0) {
      if (y >= height || count > width - x) return ResultFileIoError;
      for (int k = 0; k < count; ++k) {
        store(x + k, y, nibbles ? ((k & 1) ? value & 15 : value >> 4) : unsigned(value));
      }
      x += count;
    } else if (value == RleEndOfLine) {
      x = 0;
      if (++y > height) return ResultFileIoError;
    } else if (value == RleEndOfBitmap) {
      return ResultOk;
    } else if (value == RleDelta) {
      x += data.U8();
      y += data.U8();
      if (!data.Ok() || x > width || y >= height) return ResultFileIoError;
    } else {
      const std::size_t bytes = nibbles ? (std::size_t(value) + 1) / 2 : std::size_t(value);
      if (y >= height || value > width - x || data.Remaining() < bytes) return ResultFileIoError;
      const std::uint8_t* run = data.Bytes().data() + data.Position();
      for (int k = 0; k < value; ++k) {
        store(x + k, y, nibbles ? (run[k / 2] >> ((k & 1) ? 0 : 4)) & 15 : run[k]);
      }
      x += value;
      // Absolute runs are padded to whole 16-bit words.
      data.Skip(std::min(bytes + (bytes & 1), data.Remaining()));
    }
  }
  return y >= height ? ResultOk : ResultFileIoError;
}

}  // namespace

std::uint32_t ScaleChannel(std::uint32_t value, int fromBits, int toBits) {
  if (fromBits >= toBits) return value >> (fromBits - toBits);
  // Repeat the value's bits below itself until the wider field is full.
  std::uint32_t scaled = 0;
  for (int position = toBits - fromBits; position > -fromBits; position -= fromBits) {
    scaled |= position >= 0 ? value << position : value >> -position;
  }
  return scaled;
}

RowConverter ChooseRowConverter(const BmpInfo& info, int targetBytesPerPixel, PixelTables& tables) {
  if (info.bitsPerPixel <= 8) return ChooseIndexed(info, targetBytesPerPixel, tables);
  if (targetBytesPerPixel == 1) return nullptr;
  return ChooseMasked(info, targetBytesPerPixel, tables);
}

Result DecodeRle(ByteReader& data, const BmpInfo& info, const Surface& target, const PixelTables& tables) {
  switch (target.bytesPerPixel) {
    case 4: return DecodeRleInto<std::uint32_t>(data, info, target, tables);
    case 2: return DecodeRleInto<std::uint16_t>(data, info, target, tables);
    default: return DecodeRleInto<std::uint8_t>(data, info, target, tables);
  }
}

}  // namespace rt
