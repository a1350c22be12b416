#include "gfx/whole_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "rt/file_replacement.h"

namespace rt {

namespace {

// Closes the descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string NativeFileName(std::string_view fileName) {
  std::string name(fileName);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

FileBytes::~FileBytes() {
  if (mapping_) ::munmap(mapping_, bytes_.size());
}

Result FileBytes::Open(const std::string& path, std::size_t readLimit, std::vector<std::uint8_t>& buffer) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) return ResultFileNotFound;
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return ResultFileNotFound;
  const std::size_t size = std::size_t(info.st_size);

  if (size > readLimit) {
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.Get(), 0);
    if (mapping == MAP_FAILED) return ResultFileIoError;
    mapping_ = mapping;
    bytes_ = {static_cast<const std::uint8_t*>(mapping), size};
    return ResultOk;
  }
  buffer.resize(size);
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = ::read(file.Get(), buffer.data() + filled, size - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ResultFileIoError;
    if (got == 0) break;  // the file shrank since fstat; keep what is there
    filled += std::size_t(got);
  }
  bytes_ = {buffer.data(), filled};
  return ResultOk;
}

Result WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  Result result;
  const std::unique_ptr<FileReplacement> file = FileReplacement::Open(path, result);
  if (!file) return result;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file->Stream()) != bytes.size()) return ResultFileIoError;
  return file->Commit();
}

}  // namespace rt
