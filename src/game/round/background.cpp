#include "game/round/background.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "game/assets.h"
#include "gfx/bmp.h"
#include "gfx/screen.h"

namespace game {

namespace {

// Everything the picture on a freshly cleared screen depends on: the file's
// identity and contents (as far as its change time and size tell) and the
// screen it is drawn on, including the colour the clear left behind.
struct BackgroundKey {
  dev_t device = 0;
  ino_t inode = 0;
  off_t sizeBytes = 0;
  timespec modified{};
  timespec changed{};
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;
  std::uint32_t clearColor = 0;

  bool operator==(const BackgroundKey& o) const {
    return device == o.device && inode == o.inode && sizeBytes == o.sizeBytes &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec && width == o.width &&
           height == o.height && bytesPerPixel == o.bytesPerPixel && clearColor == o.clearColor;
  }
};

struct BackgroundCache {
  bool valid = false;
  BackgroundKey key;
  std::vector<std::uint8_t> pixels;  // the screen rows right after the load
};

BackgroundCache& Cache() {
  static BackgroundCache cache;
  return cache;
}

bool CurrentKey(const rt::Surface& screen, BackgroundKey& key) {
  struct stat info {};
  if (stat(std::string(kBackgroundPicture).c_str(), &info) != 0) return false;
  key.device = info.st_dev;
  key.inode = info.st_ino;
  key.sizeBytes = info.st_size;
  key.modified = info.st_mtim;
  key.changed = info.st_ctim;
  key.width = screen.width;
  key.height = screen.height;
  key.bytesPerPixel = screen.bytesPerPixel;
  key.clearColor = rt::CurrentContext().background;
  return true;
}

std::size_t RowBytes(const rt::Surface& screen) { return std::size_t(screen.width) * screen.bytesPerPixel; }

void CopyFromScreen(const rt::Surface& screen, std::vector<std::uint8_t>& pixels) {
  const std::size_t rowBytes = RowBytes(screen);
  pixels.resize(rowBytes * screen.height);
  for (int y = 0; y < screen.height; ++y) std::memcpy(&pixels[y * rowBytes], screen.Row(y), rowBytes);
}

void CopyToScreen(const std::vector<std::uint8_t>& pixels, const rt::Surface& screen) {
  const std::size_t rowBytes = RowBytes(screen);
  for (int y = 0; y < screen.height; ++y) std::memcpy(screen.Row(y), &pixels[y * rowBytes], rowBytes);
  if (screen.isVisiblePage) rt::MarkDirty(0, screen.height - 1);
}

}  // namespace

void DrawBackground() {
  BackgroundCache& cache = Cache();
  const rt::Surface screen = rt::ScreenSurface();
  BackgroundKey key;
  if (!screen.pixels || !CurrentKey(screen, key)) {
    cache.valid = false;
    rt::Bload(kBackgroundPicture);
    return;
  }
  if (cache.valid && cache.key == key) {
    CopyToScreen(cache.pixels, screen);
    return;
  }
  cache.valid = rt::Bload(kBackgroundPicture) == 0;
  if (!cache.valid) return;
  cache.key = key;
  CopyFromScreen(screen, cache.pixels);
}

}  // namespace game
