#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "rt/result.h"

namespace rt {

// New contents for a file, put in place as a whole. The bytes go to a
// temporary beside the target ("<target>.tmp-<pid>-<n>"), which Commit syncs
// and renames over it, so readers and a crash see the old file or the whole
// new one, never a part. A writer killed before Commit leaves the target as
// it was and only its temporary behind, which the next commit in the same
// folder removes once that writer's process is gone.
//
// A folder that takes no new file leaves no room for a temporary. There an
// existing, writable target is rewritten in place instead: the bytes wait in
// memory until Commit writes them over it, so the target still changes only
// at Commit, but a crash or a failed write during Commit can leave a part.
class FileReplacement {
 public:
  // Refuses (nullptr, ResultFileNotFound) a target that exists but is not a
  // regular file or not writable, and a missing one in a folder that takes
  // no new file. The temporary takes over an existing target's permissions.
  static std::unique_ptr<FileReplacement> Open(const std::string& target, Result& result);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Drops the new contents; the target stays as it was.
  ~FileReplacement();

  // Where the new bytes are written.
  std::FILE* Stream() const { return stream_; }
  // Puts the new contents in place: ResultOk, or ResultFileIoError when any
  // of it could not be kept.
  Result Commit();

 private:
  explicit FileReplacement(std::string target) : target_(std::move(target)) {}
  bool OpenTemporary();
  bool OpenInPlace();
  Result CommitTemporary();
  Result CommitInPlace();

  std::string target_;
  std::FILE* stream_ = nullptr;
  std::string temporary_;  // empty when rewriting in place
  // In place: the target, and the new bytes (the stream writes them there).
  int targetFd_ = -1;
  char* memory_ = nullptr;
  std::size_t memoryBytes_ = 0;
};

}  // namespace rt
