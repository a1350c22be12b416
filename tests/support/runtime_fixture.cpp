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
}

}  // namespace rt::test
