#include "bmp_builder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace rt::test {

namespace {

void Put(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[offset + i] = std::uint8_t(value >> (8 * i));
}

void Append(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  out.resize(out.size() + bytes);
  Put(out, out.size() - bytes, value, bytes);
}

std::vector<std::uint8_t> InfoHeader(const BmpBuilder& b) {
  std::vector<std::uint8_t> info(b.infoSize, 0);
  Put(info, 0, b.infoSize, 4);
  if (b.infoSize == 12) {
    Put(info, 4, std::uint32_t(b.width), 2);
    Put(info, 6, std::uint32_t(b.height), 2);
    Put(info, 8, 1, 2);
    Put(info, 10, std::uint32_t(b.bits), 2);
    return info;
  }
  Put(info, 4, std::uint32_t(b.width), 4);
  Put(info, 8, std::uint32_t(b.height), 4);
  Put(info, 12, 1, 2);
  Put(info, 14, std::uint32_t(b.bits), 2);
  if (b.infoSize >= 20) Put(info, 16, b.compression, 4);
  if (b.infoSize >= 36) Put(info, 32, b.colorsUsed, 4);
  if (b.masks && b.infoSize >= 52) {
    for (int i = 0; i < 3; ++i) Put(info, 40 + 4 * i, (*b.masks)[i], 4);
    if (b.infoSize >= 56) Put(info, 52, (*b.masks)[3], 4);
  }
  return info;
}

std::vector<std::uint8_t> Rows(const BmpBuilder& b) {
  if (!b.pixelData.empty()) return b.pixelData;
  const int rows = std::abs(b.height);
  const std::size_t stride = ((std::size_t(b.width) * b.bits + 31) / 32) * 4;
  std::vector<std::uint8_t> out(stride * rows, 0);
  for (int r = 0; r < rows; ++r) {
    const int y = b.height < 0 ? r : rows - 1 - r;
    std::uint8_t* row = out.data() + r * stride;
    for (int x = 0; x < b.width; ++x) {
      const std::uint32_t v = b.pixel(x, y);
      if (b.bits < 8) {
        const int bit = x * b.bits;
        row[bit / 8] |= std::uint8_t(v << (8 - b.bits - bit % 8));
      } else {
        for (int i = 0; i < b.bits / 8; ++i) row[x * (b.bits / 8) + i] = std::uint8_t(v >> (8 * i));
      }
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> BmpBuilder::Build() const {
  std::vector<std::uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  const std::vector<std::uint8_t> info = InfoHeader(*this);
  file.insert(file.end(), info.begin(), info.end());
  if (masks && compression == 3 && infoSize < 52) {
    for (int i = 0; i < 3; ++i) Append(file, (*masks)[i], 4);
  }
  if (bits <= 8) {
    const std::uint32_t entries = tableEntries == kAutomatic ? 1u << bits : tableEntries;
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint32_t rgb = i < palette.size() ? palette[i] : 0;
      Append(file, rgb, infoSize == 12 ? 3 : 4);
    }
  }
  Put(file, 10, dataOffset == kAutomatic ? std::uint32_t(file.size()) : dataOffset, 4);
  const std::vector<std::uint8_t> rows = Rows(*this);
  file.insert(file.end(), rows.begin(), rows.end());
  Put(file, 2, std::uint32_t(file.size()), 4);
  return file;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
         (std::uint32_t(bytes[offset + 3]) << 24);
}

}  // namespace rt::test
