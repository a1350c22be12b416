#pragma once

#include <gtest/gtest.h>

#include "gfx/display_driver.h"
#include "input/clock.h"

namespace rt::test {

// Resets the runtime between tests: closes any screen, empties the key
// queue, restores the back-end list, and installs a virtual clock that the
// test can advance.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the game's screen (640 x 480, 32 bits, 2 pages) on `backEnd`.
  void OpenGameScreen(const DriverEntry& backEnd = NullDriverEntry());

  VirtualClock clock;
};

}  // namespace rt::test
