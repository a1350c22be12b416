// A session of any length runs in constant stack and memory: the screens
// hand over through a loop, never by calling each other.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "game/round/round.h"
#include "game/scancodes.h"
#include "game/shell/shell.h"
#include "gfx/screen_state.h"
#include "support/runtime_fixture.h"

namespace {

std::atomic<long long> liveAllocations{0};

}  // namespace

void* operator new(std::size_t size) {
  ++liveAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  if (p) --liveAllocations;
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  if (p) --liveAllocations;
  std::free(p);
}

namespace game::test {
namespace {

class HandOverTest : public rt::test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    rt::SetDriverList({rt::NullDriverEntry()});
  }
  void TearDown() override {
    SetFrameHook({});
    shell = Shell{};
    RuntimeTest::TearDown();
    rt::SetDriverList({});
  }
  static void Hold(int scancode, bool held) {
    rt::ScreenLock();
    rt::Screen()->keyState[std::size_t(scancode)] = held ? 1 : 0;
    rt::ScreenUnlock(1, 0);
  }
  Shell shell;
};

// Space and Esc held together: the menu starts a game (Space is tested
// first) and the round's first frame goes back to the menu (Esc). Every
// such cycle is three hand-overs: menu, new game, round, menu.
TEST_F(HandOverTest, AHundredThousandHandOversKeepStackAndMemoryFlat) {
  constexpr long long kCycles = 100'000 / 3 + 1;
  constexpr long long kSettledCycle = 1'000;
  // A small screen keeps the many screen clears cheap; the flow is the same.
  ASSERT_EQ(rt::ScreenMode(13, 0, 0, 0, 0), rt::ResultOk);
  long long cycles = 0, settledAllocations = 0;
  std::uintptr_t lowestFrame = UINTPTR_MAX, highestFrame = 0;
  SetFrameHook([&](GameState&) {
    volatile char marker = 0;
    const auto at = reinterpret_cast<std::uintptr_t>(&marker);
    lowestFrame = std::min(lowestFrame, at);
    highestFrame = std::max(highestFrame, at);
    if (++cycles == kSettledCycle) settledAllocations = liveAllocations;
    if (cycles == kCycles) Hold(scancode::kSpace, false);  // Esc alone: the menu ends the program
    return true;
  });
  Hold(scancode::kSpace, true);
  Hold(scancode::kEsc, true);
  RunScreens(shell, NextScreen::Menu);

  EXPECT_EQ(cycles, kCycles);
  EXPECT_LT(highestFrame - lowestFrame, 64u)
      << "the stack grew by " << (highestFrame - lowestFrame) << " bytes";
  EXPECT_LE(liveAllocations - settledAllocations, 16) << "allocations still alive after the last hand-over";
}

}  // namespace
}  // namespace game::test
