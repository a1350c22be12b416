#include "input/clock.h"

#include <chrono>

namespace rt {

void SystemClock::Sleep(int delayMs) { PlatformSleep(delayMs > 0 ? delayMs : 0); }

double SystemClock::Seconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool SystemClock::LocalTime(std::tm& out) {
  std::time_t now = std::time(nullptr);
  return now != static_cast<std::time_t>(-1) && localtime_r(&now, &out) != nullptr;
}

VirtualClock::VirtualClock() { SetLocalTime(2000, 1, 1, 0, 0, 0); }

void VirtualClock::Sleep(int delayMs) {
  if (delayMs < 0) delayMs = 0;
  secondsNow_ += delayMs / 1000.0;
  sleptMs_ += delayMs;
  ++sleepCalls_;
  if (onSleep) onSleep(delayMs);
}

void VirtualClock::SetLocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  // Kept as a UTC calendar so the virtual local time is the same on every machine.
  wallStart_ = timegm(&t);
  wallStartSeconds_ = secondsNow_;
}

bool VirtualClock::LocalTime(std::tm& out) {
  auto elapsed = static_cast<std::time_t>(secondsNow_ - wallStartSeconds_);
  std::time_t now = wallStart_ + elapsed;
  return gmtime_r(&now, &out) != nullptr;
}

namespace {
SystemClock systemClock;
Clock* activeClock = &systemClock;
}  // namespace

Clock& ActiveClock() { return *activeClock; }

void SetClock(Clock* clock) { activeClock = clock ? clock : &systemClock; }

void SleepOn(Clock& clock, int delayMs) {
  if (&clock == &systemClock) {
    systemClock.SystemClock::Sleep(delayMs);
  } else {
    clock.Sleep(delayMs);
  }
}

}  // namespace rt
