#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rt::test {

// Builds BMP files byte by byte, so tests can make every form the loader
// reads, and broken ones by editing the result.
struct BmpBuilder {
  static constexpr std::uint32_t kAutomatic = 0xFFFFFFFF;

  int width = 1;
  int height = 1;  // negative: top-down rows
  int bits = 24;
  std::uint32_t infoSize = 40;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;       // 0xRRGGBB; missing entries are black
  std::uint32_t tableEntries = kAutomatic;  // entries written; automatic: 2^bits
  std::uint32_t colorsUsed = 0;             // the header's color count (headers of 36 bytes on)
  // Red, green, blue, alpha: in the header when it has room (52 bytes on),
  // otherwise the first three follow it.
  std::optional<std::array<std::uint32_t, 4>> masks;
  // The stored value (index or packed pixel) at x, y counted from the top.
  std::function<std::uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
  std::vector<std::uint8_t> pixelData;  // replaces the rows when not empty (run-length data)
  std::uint32_t dataOffset = kAutomatic;

  std::vector<std::uint8_t> Build() const;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace rt::test
