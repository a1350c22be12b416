#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

struct ScreenState;

// The rows of the screen that the window has to show anew. A program that
// redraws the whole screen marks every row dirty, though most rows show what
// they showed before; Sift keeps only the marked rows whose pixels differ
// from those it kept of them last.
class ChangedRows {
 public:
  // Sizes for the rows of `screen`: none changed, none known.
  void Resize(const ScreenState& screen);
  // Moves the screen's dirty marks here, keeping those of rows whose pixels
  // differ from the copy (which then takes them). The caller holds the
  // screen lock.
  void Sift(ScreenState& screen);
  // Forgets the copy: each row counts as changed when it is sifted next (the
  // window was repainted whole, or the same pixels now mean other colors).
  void Forget();
  bool Any() const { return any_; }
  // One entry per window row, 1 for a changed row.
  const std::vector<std::uint8_t>& Rows() const { return changed_; }
  // The changed rows have been shown.
  void Clear();

 private:
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> copy_;
  std::vector<bool> known_;  // per row: copy_ holds its pixels
  std::vector<std::uint8_t> changed_;
  bool any_ = false;
};

}  // namespace rt
