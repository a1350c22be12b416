#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rt {

// Reads little-endian values from untrusted bytes. It never reads past the
// end: a read that does not fit yields 0 and marks the reader failed, and
// the failure sticks, so a parser can read a whole header and check Ok() once.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

  // Moves to an absolute position; past the end fails.
  void Seek(std::size_t position) {
    if (position > bytes_.size()) return Fail();
    position_ = position;
  }
  void Skip(std::size_t count) {
    if (count > Remaining()) return Fail();
    position_ += count;
  }

  std::uint8_t U8() { return std::uint8_t(Read(1)); }
  std::uint16_t U16() { return std::uint16_t(Read(2)); }
  std::uint32_t U32() { return std::uint32_t(Read(4)); }
  std::int16_t I16() { return std::int16_t(U16()); }
  std::int32_t I32() { return std::int32_t(U32()); }

 private:
  std::uint32_t Read(std::size_t count) {
    if (count > Remaining()) {
      Fail();
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint32_t(bytes_[position_ + i]) << (8 * i);
    position_ += count;
    return value;
  }
  void Fail() {
    ok_ = false;
    position_ = bytes_.size();
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace rt
