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
// A wait that lasts long in virtual time is woken with a typed Space and
// Enter (pauses and key waits end on any key, a name on Enter); one that
// outlasts ten virtual minutes is a finding: the game hangs.
class GameHarness {
 public:
  static GameHarness& Fresh();

  rt::test::ScriptedDriver& Driver();
  rt::VirtualClock& Clock() { return *clock_; }
  // Restarts the patience: call whenever the game makes progress (a frame).
  void Progress();
  // Runs after every sleep of this input, before the harness's own checks.
  void OnSleep(std::function<void(int delayMs)> observer) { observer_ = std::move(observer); }

 private:
  GameHarness();
  void Reset();
  void Slept(int delayMs);

  std::unique_ptr<rt::VirtualClock> clock_;
  std::function<void(int)> observer_;
  long long progressAtMs_ = 0;
  bool woken_ = false;
};

}  // namespace game::fuzz
