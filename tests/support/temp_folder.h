#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace rt::test {

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The path of `name` inside the folder, as a string for the runtime's calls.
  std::string File(std::string_view name) const;
  // The names of the folder's entries, sorted.
  std::string Listing() const;

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace rt::test
