#pragma once

#include <ctime>
#include <functional>

namespace rt {

// The seam between the runtime and the platform's notion of time. Every
// sleep, the seconds counter and the wall clock go through the active clock,
// so tests can swap in a VirtualClock that advances instantly.
class Clock {
 public:
  virtual ~Clock() = default;
  // One plain platform sleep; no key is looked at.
  virtual void Sleep(int delayMs) = 0;
  // A high-resolution seconds counter from an arbitrary start.
  virtual double Seconds() = 0;
  // The local wall-clock time; false when it cannot be obtained.
  virtual bool LocalTime(std::tm& out) = 0;
};

// The real clock: steady_clock and localtime_r. Its sleep is the platform's
// (PlatformSleep).
class SystemClock final : public Clock {
 public:
  void Sleep(int delayMs) override;
  double Seconds() override;
  bool LocalTime(std::tm& out) override;
};

// A clock for tests: Sleep advances time at once. `onSleep` runs after every
// sleep with the new time, so a test can deliver scripted input "meanwhile".
class VirtualClock final : public Clock {
 public:
  // Starts at the given local time (defaults to 1 January 2000, 00:00:00).
  VirtualClock();
  void Sleep(int delayMs) override;
  double Seconds() override { return secondsNow_; }
  bool LocalTime(std::tm& out) override;

  void SetLocalTime(int year, int month, int day, int hour, int minute, int second);
  void Advance(double seconds) { secondsNow_ += seconds; }
  // Total milliseconds slept so far, and the number of Sleep calls.
  long long SleptMs() const { return sleptMs_; }
  long long SleepCalls() const { return sleepCalls_; }

  std::function<void(int delayMs)> onSleep;

 private:
  double secondsNow_ = 1000.0;
  std::time_t wallStart_ = 0;
  double wallStartSeconds_ = 1000.0;
  long long sleptMs_ = 0;
  long long sleepCalls_ = 0;
};

// The platform's sleep, defined with the back ends (gfx/backend/): the thread
// sleeps on the desktop; in the browser the program yields to the page.
void PlatformSleep(int delayMs);

// Sleeps on `clock`. The system clock is called directly, not through the
// table: the browser build can suspend the program only in a sleep it sees
// along direct calls.
void SleepOn(Clock& clock, int delayMs);

// The clock every runtime operation uses. SetClock(nullptr) restores the
// system clock; the caller keeps ownership of any clock it installs.
Clock& ActiveClock();
void SetClock(Clock* clock);

}  // namespace rt
