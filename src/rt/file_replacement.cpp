#include "rt/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace rt {

namespace {

// Creates "<target>.tmp-<pid>-<n>" exclusively; a name left behind by a
// killed writer is skipped rather than reused.
int CreateTempBeside(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename durable; where the folder cannot be synced the rename still
// stands, only its durability across a power loss is weaker.
void SyncFolderOf(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The pid in a temporary's name "<target>.tmp-<pid>-<n>", or 0 when `name`
// is no temporary.
pid_t TemporaryOwner(std::string_view name) {
  const std::size_t marker = name.rfind(".tmp-");
  if (marker == 0 || marker == std::string_view::npos) return 0;
  const std::string_view numbers = name.substr(marker + 5);
  const std::size_t dash = numbers.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (dash == std::string_view::npos || dash > 10 || !digits(numbers.substr(0, dash)) ||
      !digits(numbers.substr(dash + 1))) {
    return 0;
  }
  long long pid = 0;
  std::from_chars(numbers.data(), numbers.data() + dash, pid);
  return pid <= 0x7FFFFFFF ? static_cast<pid_t>(pid) : 0;
}

// A writer killed before its rename leaves its temporary behind. Once a
// later writer has committed in the same folder, temporaries of processes
// that no longer exist are removed, whatever file they were for (pictures
// saved under ever new names would otherwise never see theirs go).
void RemoveOrphanedTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const pid_t owner = TemporaryOwner(entry->d_name);
    if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    unlink((folder + "/" + entry->d_name).c_str());
  }
  closedir(dir);
}

// Writes every byte from the start of the file.
bool WriteAllAt(int fd, const char* bytes, std::size_t count) {
  for (std::size_t done = 0; done < count;) {
    const ssize_t written = pwrite(fd, bytes + done, count - done, static_cast<off_t>(done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += std::size_t(written);
  }
  return true;
}

}  // namespace

std::unique_ptr<FileReplacement> FileReplacement::Open(const std::string& target, Result& result) {
  result = ResultFileNotFound;
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  // Renaming over a pipe or a device would put a file in its place.
  if (exists && (!S_ISREG(existing.st_mode) || access(target.c_str(), W_OK) != 0)) return nullptr;
  std::unique_ptr<FileReplacement> replacement(new FileReplacement(target));
  if (replacement->OpenTemporary()) {
    if (exists) fchmod(fileno(replacement->stream_), existing.st_mode & 07777);
  } else if (!exists || !replacement->OpenInPlace()) {
    return nullptr;
  }
  result = ResultOk;
  return replacement;
}

bool FileReplacement::OpenTemporary() {
  const int fd = CreateTempBeside(target_, temporary_);
  if (fd < 0) {
    temporary_.clear();
    return false;
  }
  stream_ = fdopen(fd, "wb");
  if (stream_) return true;
  close(fd);
  unlink(temporary_.c_str());
  temporary_.clear();
  return false;
}

bool FileReplacement::OpenInPlace() {
  targetFd_ = open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info {};
  if (targetFd_ < 0 || fstat(targetFd_, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  stream_ = open_memstream(&memory_, &memoryBytes_);
  return stream_ != nullptr;
}

FileReplacement::~FileReplacement() {
  if (stream_) {
    std::fclose(stream_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
  }
  if (targetFd_ >= 0) close(targetFd_);
  std::free(memory_);
}

Result FileReplacement::Commit() { return temporary_.empty() ? CommitInPlace() : CommitTemporary(); }

Result FileReplacement::CommitTemporary() {
  bool kept = std::fflush(stream_) == 0 && fsync(fileno(stream_)) == 0;
  kept = std::fclose(stream_) == 0 && kept;
  stream_ = nullptr;
  if (kept && std::rename(temporary_.c_str(), target_.c_str()) == 0) {
    SyncFolderOf(target_);
    RemoveOrphanedTemporaries(target_);
    return ResultOk;
  }
  unlink(temporary_.c_str());
  return ResultFileIoError;
}

// Writing before cutting the old length off reuses the blocks the old
// contents had, so a full disk seldom stops a rewrite that is not longer.
Result FileReplacement::CommitInPlace() {
  bool kept = std::fclose(stream_) == 0;  // memory_ now holds every byte
  stream_ = nullptr;
  kept = kept && WriteAllAt(targetFd_, memory_, memoryBytes_) &&
         ftruncate(targetFd_, static_cast<off_t>(memoryBytes_)) == 0 && fsync(targetFd_) == 0;
  kept = close(std::exchange(targetFd_, -1)) == 0 && kept;
  return kept ? ResultOk : ResultFileIoError;
}

}  // namespace rt
