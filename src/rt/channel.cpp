#include "rt/channel.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace rt {

namespace {

std::atomic<std::uint64_t> nextSerial{1};

bool IsFolder(const struct stat& info) { return S_ISDIR(info.st_mode); }

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

// Output: refuses what truncating in place would refuse, then opens a
// temporary that takes over the target's permissions.
int OpenOutput(const std::string& path, std::string& tempPath) {
  struct stat target {};
  const bool exists = stat(path.c_str(), &target) == 0;
  if (exists && (IsFolder(target) || access(path.c_str(), W_OK) != 0)) return -1;
  const int fd = CreateTempBeside(path, tempPath);
  if (fd >= 0 && exists) fchmod(fd, target.st_mode & 07777);
  return fd;
}

int OpenFlags(FileMode mode) {
  switch (mode) {
    case FileModeInput: return O_RDONLY;
    case FileModeAppend: return O_WRONLY | O_APPEND | O_CREAT;
    default: return O_RDWR | O_CREAT;
  }
}

const char* StdioMode(FileMode mode) {
  switch (mode) {
    case FileModeInput: return "rb";
    case FileModeOutput: return "wb";
    case FileModeAppend: return "ab";
    default: return "r+b";
  }
}

}  // namespace

Channel::Channel(FileMode mode, std::FILE* file) : mode_(mode), file_(file), serial_(nextSerial++) {}

std::unique_ptr<Channel> Channel::Open(const std::string& path, FileMode mode, Result& result) {
  result = ResultFileNotFound;
  std::string tempPath;
  const int fd = mode == FileModeOutput ? OpenOutput(path, tempPath)
                                        : open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info {};
  std::FILE* file = nullptr;
  if (fstat(fd, &info) != 0 || IsFolder(info) || !(file = fdopen(fd, StdioMode(mode)))) {
    close(fd);
    if (!tempPath.empty()) unlink(tempPath.c_str());
    return nullptr;
  }
  std::unique_ptr<Channel> channel(new Channel(mode, file));
  channel->sizeAtOpen_ = info.st_size;
  channel->targetPath_ = path;
  channel->tempPath_ = std::move(tempPath);
  result = ResultOk;
  return channel;
}

Channel::~Channel() {
  if (!file_) return;
  std::fclose(file_);
  if (!tempPath_.empty()) unlink(tempPath_.c_str());
}

Result Channel::Close() {
  if (mode_ == FileModeOutput) return CommitOutput();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && !writeFailed_ ? ResultOk : ResultFileIoError;
}

Result Channel::CommitOutput() {
  bool kept = !writeFailed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  kept = std::fclose(file_) == 0 && kept;
  file_ = nullptr;
  if (kept && std::rename(tempPath_.c_str(), targetPath_.c_str()) == 0) {
    SyncFolderOf(targetPath_);
    RemoveOrphanedTemporaries(targetPath_);
    return ResultOk;
  }
  unlink(tempPath_.c_str());
  return ResultFileIoError;
}

void Channel::SwitchTo(LastAccess access) {
  // A stream that both reads and writes needs a seek between the two.
  if (lastAccess_ != LastAccess::None && lastAccess_ != access) fseeko(file_, 0, SEEK_CUR);
  lastAccess_ = access;
}

int Channel::ReadByte() {
  if (putBackCount_ > 0) return putBack_[--putBackCount_];
  if (!CanRead()) return -1;
  SwitchTo(LastAccess::Read);
  return getc_unlocked(file_);
}

bool Channel::PutBack(unsigned char byte) {
  if (putBackCount_ == int(putBack_.size())) return false;
  putBack_[putBackCount_++] = byte;
  return true;
}

bool Channel::Seek(long long offset) {
  putBackCount_ = 0;
  lastAccess_ = LastAccess::None;
  return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::size_t Channel::Read(void* destination, std::size_t byteCount) {
  auto* out = static_cast<unsigned char*>(destination);
  std::size_t done = 0;
  while (done < byteCount && putBackCount_ > 0) out[done++] = putBack_[--putBackCount_];
  if (done == byteCount || !CanRead()) return done;
  SwitchTo(LastAccess::Read);
  return done + std::fread(out + done, 1, byteCount - done, file_);
}

bool Channel::Write(std::string_view bytes) {
  if (!CanWrite()) return false;
  // Bytes put back stand for a position before the stream's: write there.
  if (putBackCount_ > 0) {
    fseeko(file_, -static_cast<off_t>(putBackCount_), SEEK_CUR);
    putBackCount_ = 0;
    lastAccess_ = LastAccess::None;
  }
  SwitchTo(LastAccess::Write);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) writeFailed_ = true;
  return !writeFailed_;
}

}  // namespace rt
