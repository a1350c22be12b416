#pragma once

#include <gtest/gtest.h>

#include "input/clock.h"

namespace rt::test {

// Resets the runtime between tests: closes any screen, empties the key
// queue, and installs a virtual clock that the test can advance.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  VirtualClock clock;
};

}  // namespace rt::test
