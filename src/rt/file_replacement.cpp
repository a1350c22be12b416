#include "rt/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string_view>

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
// is not one of `baseName`'s temporaries.
pid_t TemporaryOwner(std::string_view name, const std::string& baseName) {
  const std::string prefix = baseName + ".tmp-";
  if (name.substr(0, prefix.size()) != prefix) return 0;
  name.remove_prefix(prefix.size());
  long long pid = 0;
  std::size_t i = 0;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 0x7FFFFFFF; ++i)
    pid = pid * 10 + (name[i] - '0');
  if (i == 0 || i >= name.size() || name[i] != '-' || pid > 0x7FFFFFFF) return 0;
  return static_cast<pid_t>(pid);
}

// A writer killed before its rename leaves its temporary behind. Once a
// later writer has committed, temporaries of processes that no longer exist
// are removed, so that a folder does not fill with them over the years.
void RemoveOrphanedTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const auto slash = target.rfind('/');
  const std::string baseName = slash == std::string::npos ? target : target.substr(slash + 1);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const pid_t owner = TemporaryOwner(entry->d_name, baseName);
    if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    unlink((folder + "/" + entry->d_name).c_str());
  }
  closedir(dir);
}

}  // namespace

FileReplacement::FileReplacement(std::string target, std::string temporary, std::FILE* stream)
    : target_(std::move(target)), temporary_(std::move(temporary)), stream_(stream) {}

std::unique_ptr<FileReplacement> FileReplacement::Open(const std::string& target, Result& result) {
  result = ResultFileNotFound;
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  // Renaming over a pipe or a device would put a file in its place.
  if (exists && (!S_ISREG(existing.st_mode) || access(target.c_str(), W_OK) != 0)) return nullptr;
  std::string temporary;
  const int fd = CreateTempBeside(target, temporary);
  if (fd < 0) return nullptr;
  if (exists) fchmod(fd, existing.st_mode & 07777);
  std::FILE* stream = fdopen(fd, "wb");
  if (!stream) {
    close(fd);
    unlink(temporary.c_str());
    return nullptr;
  }
  result = ResultOk;
  return std::unique_ptr<FileReplacement>(new FileReplacement(target, std::move(temporary), stream));
}

FileReplacement::~FileReplacement() {
  if (!stream_) return;
  std::fclose(stream_);
  unlink(temporary_.c_str());
}

Result FileReplacement::Commit() {
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

}  // namespace rt
