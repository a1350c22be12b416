#include "gfx/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

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
  // Closes now and reports whether the close (the last chance to see a
  // delayed write error) succeeded.
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

std::string NativeFileName(std::string_view fileName) {
  std::string name(fileName);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

Result ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
  // Non-blocking so that a named pipe cannot stall the open.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) return ResultFileNotFound;
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return ResultFileNotFound;
  if (info.st_size < 0 || std::uint64_t(info.st_size) > maxBytes) return ResultFileIoError;

  bytes.resize(std::size_t(info.st_size));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ResultFileIoError;
    if (got == 0) break;  // the file shrank since fstat; keep what is there
    filled += std::size_t(got);
  }
  bytes.resize(filled);
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
