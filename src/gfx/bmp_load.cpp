#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/bmp_header.h"
#include "gfx/bmp_pixels.h"
#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"
#include "gfx/whole_file.h"

namespace rt {

namespace {

// Files up to this size are read whole; larger ones are mapped, so that the
// rows a target does not show are never brought in.
constexpr std::size_t kReadWholeBytes = std::size_t(8) << 20;

// Pictures are loaded every frame, so the buffer they are read into is kept
// between calls rather than allocated and faulted in anew.
std::vector<std::uint8_t>& FileBuffer() {
  thread_local std::vector<std::uint8_t> buffer;
  return buffer;
}

// Indexed files set the screen's palette (the first 2^bits entries) and the
// back end gets all of it. The lock is held.
void LoadScreenPalette(const BmpInfo& info) {
  ScreenState* screen = Screen();
  if (!screen) return;
  std::copy_n(info.palette.begin(), info.paletteEntries, screen->palette.begin());
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t rgb = SwapRedBlue(screen->palette[i]);
    screen->driver->SetPalette(i, rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
}

// Uncompressed rows. File row r lands on target row r (top-down files) or
// height - 1 - r; rows outside the target are not touched, and only rows
// whose pixels are all in the file are converted.
Result ConvertRows(std::span<const std::uint8_t> bytes, const BmpInfo& info, const Surface& target,
                   RowConverter convert, const PixelTables& tables) {
  const std::uint64_t offset = BmpPixelDataOffset(info);
  const std::uint64_t pixelBytes = BmpRowPixelBytes(info);
  const std::uint64_t stride = BmpRowStride(info);
  const std::int64_t height = info.height;
  std::int64_t rowsPresent = 0;
  if (offset <= bytes.size() && bytes.size() - offset >= pixelBytes) {
    rowsPresent =
        std::int64_t(std::min<std::uint64_t>((bytes.size() - offset - pixelBytes) / stride + 1, height));
  }
  const int pixels = std::min(info.width, target.width);
  const std::int64_t first = info.topDown ? 0 : std::max<std::int64_t>(0, height - target.height);
  const std::int64_t end = info.topDown ? std::min<std::int64_t>(rowsPresent, target.height) : rowsPresent;
  for (std::int64_t r = first; r < end; ++r) {
    const std::int64_t row = info.topDown ? r : height - 1 - r;
    convert(bytes.data() + offset + std::uint64_t(r) * stride, target.Row(int(row)), pixels, tables);
  }
  return rowsPresent < height ? ResultFileIoError : ResultOk;
}

Result LoadBmp(std::span<const std::uint8_t> bytes, const Surface& target) {
  // The first byte tells the forms apart; only "B" (a BMP) is read here.
  if (bytes.empty() || bytes[0] != 'B') return ResultFileIoError;
  ByteReader file(bytes);
  BmpInfo info;
  for (auto stage : {ReadBmpHeaders, ReadColorTable, ReadBitMasks}) {
    if (Result r = stage(file, info); r != ResultOk) return r;
  }
  PixelTables tables;
  const RowConverter convert = ChooseRowConverter(info, target.bytesPerPixel, tables);
  if (!convert) return ResultIllegalCall;

  ScreenLock();
  if (info.paletteEntries > 0) LoadScreenPalette(info);
  Result result;
  if (info.compression == BmpRle8 || info.compression == BmpRle4) {
    file.Seek(BmpPixelDataOffset(info));
    result = DecodeRle(file, info, target, tables);
  } else {
    result = ConvertRows(bytes, info, target, convert, tables);
  }
  if (target.isVisiblePage) MarkDirty(0, target.height - 1);
  ScreenUnlock(1, 0);
  return result;
}

}  // namespace

Result Bload(std::string_view fileName, ImageBuffer* target) {
  if (!target && !Screen()) return SetLastResult(ResultIllegalCall);
  const Surface surface = target ? ImageSurface(target) : ScreenSurface();
  if (surface.width == 0) return SetLastResult(ResultIllegalCall);

  FileBytes file;
  Result result = file.Open(NativeFileName(fileName), kReadWholeBytes, FileBuffer());
  if (result == ResultOk) result = LoadBmp(file.Bytes(), surface);
  return SetLastResult(result);
}

}  // namespace rt
