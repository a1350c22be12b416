#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "rt/result.h"

namespace rt {

// New contents for a file, put in place as a whole. The bytes go to a
// temporary beside the target ("<target>.tmp-<pid>-<n>"), which Commit syncs
// and renames over it, so readers and a crash see the old file or the whole
// new one, never a part. A writer killed before Commit leaves the target as
// it was and only its temporary behind, which the next commit to the same
// target removes once that writer's process is gone.
class FileReplacement {
 public:
  // Refuses (nullptr, ResultFileNotFound) a target that exists but is not a
  // regular file or not writable. The temporary takes over an existing
  // target's permissions.
  static std::unique_ptr<FileReplacement> Open(const std::string& target, Result& result);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Drops the new contents; the target stays as it was.
  ~FileReplacement();

  // Where the new bytes are written.
  std::FILE* Stream() const { return stream_; }
  // Puts the new contents in place: ResultOk, or ResultFileIoError when any
  // of it could not be kept (the target is then untouched).
  Result Commit();

 private:
  FileReplacement(std::string target, std::string temporary, std::FILE* stream);

  std::string target_;
  std::string temporary_;
  std::FILE* stream_;
};

}  // namespace rt
