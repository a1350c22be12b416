#pragma once

#include <cstddef>

namespace rt::test {

// While the object lives, every allocation of the calling thread of at least
// `fromBytes` bytes fails: operator new throws std::bad_alloc and its
// nothrow forms give nullptr. The test binary that links this file has
// operator new replaced for that.
class FailingAllocations {
 public:
  explicit FailingAllocations(std::size_t fromBytes = 0);
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;

 private:
  std::size_t previous_;
};

}  // namespace rt::test
