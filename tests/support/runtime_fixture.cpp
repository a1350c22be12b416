#include "support/runtime_fixture.h"

#include "gfx/screen.h"
#include "input/key_queue.h"

namespace rt::test {

void RuntimeTest::SetUp() {
  ScreenClose();
  TheKeyQueue().Clear();
  SetClock(&clock);
}

void RuntimeTest::TearDown() {
  ScreenClose();
  TheKeyQueue().Clear();
  SetClock(nullptr);
  SetDriverList({});
}

void RuntimeTest::OpenGameScreen(const DriverEntry& backEnd) {
  SetDriverList({backEnd});
  ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), ResultOk);
}

}  // namespace rt::test
