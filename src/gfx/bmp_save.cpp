#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>

#include "gfx/bmp.h"
#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"
#include "gfx/whole_file.h"
#include "rt/out_of_memory.h"

namespace rt {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPixelsPerMetre = 2834;  // 72 dots per inch

// The layout of the file written for one source.
struct OutputForm {
  int bits = 0;
  int paletteEntries = 0;
  std::uint32_t rowBytes = 0;
  std::uint32_t dataOffset = 0;
};

bool HasBmpExtension(std::string_view fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = fileName.substr(dot + 1);
  if (extension.size() != 3) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((extension[i] | 0x20) != "bmp"[i]) return false;
  }
  return true;
}

OutputForm ChooseForm(const Surface& source, int requestedBits) {
  OutputForm form;
  form.bits = source.bytesPerPixel == 1 && requestedBits <= 8    ? 8
              : source.bytesPerPixel == 4 && requestedBits != 24 ? 32
                                                                 : 24;
  form.paletteEntries = form.bits == 8 ? 256 : 0;
  form.rowBytes = std::uint32_t((std::uint64_t(source.width) * form.bits / 8 + 3) & ~std::uint64_t(3));
  form.dataOffset = kFileHeaderBytes + kInfoHeaderBytes + 4 * form.paletteEntries;
  return form;
}

void Put16(std::uint8_t*& out, std::uint32_t value) {
  out[0] = std::uint8_t(value);
  out[1] = std::uint8_t(value >> 8);
  out += 2;
}

void Put32(std::uint8_t*& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void WriteHeaders(std::uint8_t* out, const Surface& source, const OutputForm& form) {
  const std::uint32_t imageBytes = form.rowBytes * std::uint32_t(source.height);
  Put16(out, 0x4D42);  // "BM"
  Put32(out, form.dataOffset + imageBytes);
  Put32(out, 0);  // reserved
  Put32(out, form.dataOffset);
  Put32(out, kInfoHeaderBytes);
  Put32(out, std::uint32_t(source.width));
  Put32(out, std::uint32_t(source.height));  // positive: bottom row first
  Put16(out, 1);                             // planes
  Put16(out, std::uint32_t(form.bits));
  Put32(out, 0);  // no compression
  Put32(out, imageBytes);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, std::uint32_t(form.paletteEntries));  // colors used
  Put32(out, std::uint32_t(form.paletteEntries));  // colors important
  // The file wants blue, green, red, 0: a little-endian 0x00RRGGBB.
  const ScreenState* screen = Screen();
  for (int i = 0; i < form.paletteEntries; ++i) Put32(out, SwapRedBlue(screen->palette[i]));
}

// Blue, green and red bytes of a 0xRRGGBB color.
void PutBgr(std::uint8_t* out, std::uint32_t rgb) {
  out[0] = std::uint8_t(rgb);
  out[1] = std::uint8_t(rgb >> 8);
  out[2] = std::uint8_t(rgb >> 16);
}

// `opaque`: the fourth byte of 32-bit pixels becomes 0xFF, as the screen has
// no transparency; an image keeps its bytes as they are.
void WriteRow(const std::uint8_t* src, std::uint8_t* out, int width, int bytesPerPixel, int bits,
              bool opaque) {
  if (bits == 32 && opaque) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, src + 4 * x, 4);
      pixel |= 0xFF000000u;
      std::memcpy(out + 4 * x, &pixel, 4);
    }
    return;
  }
  if (bits == 8 || bits == 32) {
    std::memcpy(out, src, std::size_t(width) * bytesPerPixel);
    return;
  }
  for (int x = 0; x < width; ++x, out += 3) {
    if (bytesPerPixel == 1) {
      PutBgr(out, SwapRedBlue(Screen()->palette[src[x]]));
    } else if (bytesPerPixel == 2) {
      std::uint16_t p;
      std::memcpy(&p, src + 2 * x, 2);
      PutBgr(out, ArgbFromRgb565(p));
    } else {
      std::memcpy(out, src + 4 * x, 3);
    }
  }
}

}  // namespace

Result Bsave(std::string_view fileName, const ImageBuffer* source, int requestedBits) {
  // Only the BMP form is written; other names would ask for a raw dump.
  if (!HasBmpExtension(fileName)) return SetLastResult(ResultIllegalCall);
  if (!source && !Screen()) return SetLastResult(ResultIllegalCall);
  const Surface src = source ? ImageSurface(source) : ScreenSurface();
  if (src.width <= 0 || src.height <= 0 || src.pitchBytes < src.width * src.bytesPerPixel) {
    return SetLastResult(ResultIllegalCall);
  }
  // Indexed pixels mean nothing without the screen's palette.
  if (src.bytesPerPixel == 1 && !Screen()) return SetLastResult(ResultIllegalCall);

  const OutputForm form = ChooseForm(src, requestedBits);
  const std::uint64_t fileBytes = form.dataOffset + std::uint64_t(form.rowBytes) * std::uint64_t(src.height);
  if (fileBytes > std::numeric_limits<std::uint32_t>::max()) return SetLastResult(ResultIllegalCall);
  std::unique_ptr<std::uint8_t[]> file(new (std::nothrow) std::uint8_t[fileBytes]);
  if (!file) return SetLastResult(ResultOutOfMemory);

  WriteHeaders(file.get(), src, form);
  std::uint8_t* out = file.get() + form.dataOffset;
  const std::size_t usedBytes = std::size_t(src.width) * form.bits / 8;
  for (int y = src.height - 1; y >= 0; --y, out += form.rowBytes) {
    WriteRow(src.Row(y), out, src.width, src.bytesPerPixel, form.bits, !source);
    std::memset(out + usedBytes, 0, form.rowBytes - usedBytes);
  }
  return OutOfMemoryAsResult([&] {
    return SetLastResult(WriteWholeFile(NativeFileName(fileName), std::span(file.get(), fileBytes)));
  });
}

}  // namespace rt
