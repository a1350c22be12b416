#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace rt::fuzz {

namespace {

// Never destroyed, so that the exit handler that removes it can still use it.
const std::filesystem::path& ScratchFolder() {
  static const auto* folder = [] {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    auto* path = new std::filesystem::path(base / ("morvanta-fuzz-" + std::to_string(::getpid())));
    std::filesystem::create_directories(*path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return path;
  }();
  return *folder;
}

}  // namespace

std::string_view FuzzInput::Take(std::size_t count) {
  count = std::min(count, bytes_.size() - position_);
  const std::string_view taken(reinterpret_cast<const char*>(bytes_.data() + position_), count);
  position_ += count;
  return taken;
}

std::string ScratchFile(std::string_view name) { return (ScratchFolder() / name).string(); }

void WriteScratchFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  FuzzCheck(bool(out.flush()), "the scratch file could not be written");
}

[[noreturn]] void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz finding: %s\n", what);
  std::abort();
}

}  // namespace rt::fuzz
