#include "game/round/background.h"

#include <sys/stat.h>

#include <string>

#include "game/assets.h"
#include "gfx/bmp.h"
#include "rt/result.h"

namespace game {

namespace {

// What tells one version of the file from the next: its identity, size and
// change times.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t sizeBytes = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const FileStamp& o) const {
    return device == o.device && inode == o.inode && sizeBytes == o.sizeBytes &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
};

bool StampOf(std::string_view fileName, FileStamp& stamp) {
  struct stat info {};
  if (stat(std::string(fileName).c_str(), &info) != 0) return false;
  stamp = FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
  return true;
}

// The picture as decoded from the file with that stamp; no image when it
// did not decode whole.
struct KeptPicture {
  bool decoded = false;
  FileStamp stamp;
  rt::ImagePtr image;
};

KeptPicture& Kept() {
  static KeptPicture kept;
  return kept;
}

KeptPicture Decode(const FileStamp& stamp) {
  KeptPicture picture{true, stamp, LoadBitmapAsset(kBackgroundPicture)};
  // The asset's last step is the Bload into its image: a damaged file leaves
  // rows of that image undrawn, which a copy would show.
  if (rt::LastResult() != rt::ResultOk) picture.image.reset();
  return picture;
}

}  // namespace

void DrawBackground() {
  KeptPicture& kept = Kept();
  FileStamp stamp;
  if (!StampOf(kBackgroundPicture, stamp)) {
    kept = KeptPicture{};
  } else if (!kept.decoded || !(kept.stamp == stamp)) {
    kept = Decode(stamp);
  }
  if (kept.image &&
      rt::Put(nullptr, 0, 0, kept.image.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutPset) == rt::ResultOk)
    return;
  // No picture to copy: the file loads (or fails to) as Bload leaves it.
  rt::Bload(kBackgroundPicture);
}

}  // namespace game
