#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// What every fuzz target shares: a reader for the fuzzer's bytes, a place
// for the files the runtime must read, and checks that stop the run.
namespace rt::fuzz {

// Takes values from the front of the fuzzer's input; past its end every
// value is 0, so any input, even an empty one, drives a target.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::uint8_t Byte() { return position_ < bytes_.size() ? bytes_[position_++] : 0; }
  std::uint16_t U16() { return std::uint16_t(Byte() | (Byte() << 8)); }
  std::uint32_t U32() { return std::uint32_t(U16()) | (std::uint32_t(U16()) << 16); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // The next `count` bytes (fewer at the end).
  std::string_view Take(std::size_t count);
  // Whatever is left.
  std::string_view Rest() { return Take(bytes_.size() - position_); }
  bool Empty() const { return position_ >= bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// A path in this process's own scratch folder (in memory where the system
// offers one, since targets write a file for every input); the folder goes at
// exit.
std::string ScratchFile(std::string_view name);
void WriteScratchFile(const std::string& path, std::string_view bytes);
// A file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Whether a code is one a key code can be: a code page 437 byte, or an
// extended key (low byte 255, high byte its code).
inline bool IsKeyCode(int code) {
  return (code >= 1 && code <= 255) || (code > 255 && code <= 0xFFFF && (code & 0xFF) == 0xFF);
}

// A broken property is a finding: say which and stop the way a crash does.
[[noreturn]] void FuzzFailure(const char* what);
inline void FuzzCheck(bool holds, const char* what) {
  if (!holds) FuzzFailure(what);
}

}  // namespace rt::fuzz
