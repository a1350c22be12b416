#pragma once

#include <array>
#include <string_view>

#include "input/key_codes.h"

namespace rt {

// The typed-key ring: 16 slots, so at most 15 codes; a 16th drops the
// oldest. Global to the process and guarded by the screen lock.
class KeyQueue {
 public:
  // Stores a code and sets the posted flag.
  void Post(int code);
  // Takes the oldest code (0 when empty) and clears the posted flag.
  int Take();
  bool HasKey() const { return read_ != write_; }
  // Returns the posted flag and clears it.
  bool TakePosted();
  void Clear();

 private:
  std::array<int, 16> slots_{};
  int write_ = 0;
  int read_ = 0;
  bool posted_ = false;
};

KeyQueue& TheKeyQueue();

// Display side, inside the back end's locked cycle: queue a key code.
void PostKey(int code);
// Posts typed UTF-8 text as code page 437 bytes, 0 for a character that
// code page lacks. Display side, lock held.
void PostTypedText(std::string_view utf8);

}  // namespace rt
