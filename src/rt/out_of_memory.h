#pragma once

#include <new>

#include "rt/result.h"

namespace rt {

// Runs `operation`, which returns a Result, and turns a failed allocation
// inside it into ResultOutOfMemory (recorded): no runtime operation lets an
// exception out. The operation must leave nothing half done when an
// allocation fails: no lock held, no state half changed.
template <typename Operation>
Result OutOfMemoryAsResult(Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return SetLastResult(ResultOutOfMemory);
  }
}

}  // namespace rt
