#include "rt/file_channels.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "rt/channel.h"
#include "rt/out_of_memory.h"

namespace rt {

namespace {

constexpr int kFileNumbers = 255;

using FileTable = std::array<std::unique_ptr<Channel>, kFileNumbers + 1>;  // [0] unused

FileTable& Table() {
  static FileTable table;
  // Registered after the table exists, so it runs before the table goes.
  static const bool closesAtExit = (std::atexit(CloseAllFiles), true);
  (void)closesAtExit;
  return table;
}

bool IsFileNumber(int fileNumber) { return fileNumber >= 1 && fileNumber <= kFileNumbers; }

}  // namespace

Channel* ChannelOn(int fileNumber) { return IsFileNumber(fileNumber) ? Table()[fileNumber].get() : nullptr; }

int FreeFileNumber() {
  for (int number = 1; number <= kFileNumbers; ++number) {
    if (!Table()[number]) return number;
  }
  return 0;
}

Result FileOpen(std::string_view fileName, int mode, int fileNumber) {
  if (!IsFileNumber(fileNumber) || ChannelOn(fileNumber) || mode < FileModeBinary || mode > FileModeAppend) {
    return SetLastResult(ResultIllegalCall);
  }
  // A name with a NUL byte in it cannot name a file.
  if (fileName.empty() || fileName.find('\0') != std::string_view::npos) {
    return SetLastResult(ResultFileNotFound);
  }
  return OutOfMemoryAsResult([&] {
    Result result;
    Table()[fileNumber] = Channel::Open(std::string(fileName), static_cast<FileMode>(mode), result);
    return SetLastResult(result);
  });
}

Result FileClose(int fileNumber) {
  Channel* channel = ChannelOn(fileNumber);
  if (!channel) return SetLastResult(ResultIllegalCall);
  // Closing that fails for memory leaves the old file, as any failed close.
  const Result result = OutOfMemoryAsResult([&] { return channel->Close(); });
  Table()[fileNumber].reset();
  return SetLastResult(result);
}

void CloseAllFiles() {
  for (int number = 1; number <= kFileNumbers; ++number) {
    if (ChannelOn(number)) FileClose(number);
  }
}

Result FileGetAt(int fileNumber, long long position, void* destination, std::size_t byteCount) {
  Channel* channel = ChannelOn(fileNumber);
  if (!channel || position < 0 || (!destination && byteCount > 0) || !channel->CanRead()) {
    return SetLastResult(ResultIllegalCall);
  }
  if (position != 0 && !channel->Seek(position - 1)) return SetLastResult(ResultFileIoError);
  channel->Read(destination, byteCount);
  return SetLastResult(ResultOk);
}

std::string ExecutableFolder() try {
  std::vector<char> path(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      const std::string executable(path.data(), static_cast<std::size_t>(length));
      const auto slash = executable.rfind('/');
      if (slash == std::string::npos) return {};
      return slash == 0 ? "/" : executable.substr(0, slash);
    }
    path.resize(path.size() * 2);  // may have been cut short
  }
} catch (const std::bad_alloc&) {
  return {};
}

}  // namespace rt
