#pragma once

#include <functional>
#include <memory>

#include "input/clock.h"
#include "support/scripted_driver.h"

namespace game::fuzz {

// The game's 640 x 480 screen on the scripted back end with a virtual clock,
// in a scratch working folder that holds the game's pictures. Each input
// starts from Fresh(): a newly opened screen (so the driver's records start
// empty), a new clock, no keys, no open files.
//
// A wait that lasts long in virtual time is woken with a typed Space (every
// pause and key wait of the game ends on a key); one that outlasts ten
// virtual minutes after that is a finding: the game hangs.
class GameHarness {
 public:
  static GameHarness& Fresh();

  rt::test::ScriptedDriver& Driver();
  rt::VirtualClock& Clock() { return *clock_; }
  // Restarts the patience: call whenever the game makes progress (a frame).
  void Progress();

 private:
  GameHarness();
  void Reset();
  void Slept(int delayMs);

  std::unique_ptr<rt::VirtualClock> clock_;
  long long progressAtMs_ = 0;
  bool woken_ = false;
};

}  // namespace game::fuzz
