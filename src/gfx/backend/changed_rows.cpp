#include "gfx/backend/changed_rows.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "gfx/screen_state.h"

namespace rt {

void ChangedRows::Resize(const ScreenState& screen) {
  const std::size_t rows = screen.dirtyLines.size();
  rowBytes_ = std::size_t(screen.pitchBytes);
  copy_.assign(rows * rowBytes_, 0);
  known_.assign(rows, false);
  changed_.assign(rows, 0);
  any_ = false;
}

void ChangedRows::Sift(ScreenState& screen) {
  std::vector<std::uint8_t>& dirty = screen.dirtyLines;
  assert(dirty.size() == changed_.size() && rowBytes_ == std::size_t(screen.pitchBytes));
  // Most unlocks (a key test, the mouse) mark nothing.
  if (!std::memchr(dirty.data(), 1, dirty.size())) return;
  for (std::size_t row = 0; row < dirty.size(); ++row) {
    if (!dirty[row]) continue;
    dirty[row] = 0;
    const std::uint8_t* pixels = screen.VisibleRow(int(row) / screen.scanlineSize);
    std::uint8_t* kept = copy_.data() + row * rowBytes_;
    if (known_[row] && std::memcmp(kept, pixels, rowBytes_) == 0) continue;
    std::memcpy(kept, pixels, rowBytes_);
    known_[row] = true;
    changed_[row] = 1;
    any_ = true;
  }
}

void ChangedRows::Forget() { std::fill(known_.begin(), known_.end(), false); }

void ChangedRows::Clear() {
  std::fill(changed_.begin(), changed_.end(), 0);
  any_ = false;
}

}  // namespace rt
