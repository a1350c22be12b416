#include "rt/channel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace rt {

namespace {

std::atomic<std::uint64_t> nextSerial{1};

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
    case FileModeAppend: return "ab";
    default: return "r+b";
  }
}

}  // namespace

Channel::Channel(FileMode mode, std::FILE* file) : mode_(mode), file_(file), serial_(nextSerial++) {}

std::unique_ptr<Channel> Channel::Open(const std::string& path, FileMode mode, Result& result) {
  if (mode == FileModeOutput) {
    std::unique_ptr<FileReplacement> replacement = FileReplacement::Open(path, result);
    if (!replacement) return nullptr;
    std::unique_ptr<Channel> channel(new Channel(mode, replacement->Stream()));
    channel->replacement_ = std::move(replacement);
    return channel;
  }
  result = ResultFileNotFound;
  // Without O_NONBLOCK a named pipe would keep the open waiting for a writer
  // that may never come; on the regular files kept here the flag does nothing.
  const int fd = open(path.c_str(), OpenFlags(mode) | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info {};
  std::FILE* file = nullptr;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(file = fdopen(fd, StdioMode(mode)))) {
    close(fd);
    return nullptr;
  }
  std::unique_ptr<Channel> channel(new Channel(mode, file));
  channel->sizeAtOpen_ = info.st_size;
  result = ResultOk;
  return channel;
}

Channel::~Channel() {
  // An Output channel's stream belongs to its replacement, which drops it.
  if (file_ && !replacement_) std::fclose(file_);
}

Result Channel::Close() {
  if (mode_ == FileModeOutput) return CommitOutput();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && !writeFailed_ ? ResultOk : ResultFileIoError;
}

Result Channel::CommitOutput() {
  file_ = nullptr;
  std::unique_ptr<FileReplacement> replacement = std::move(replacement_);
  return writeFailed_ ? ResultFileIoError : replacement->Commit();
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
