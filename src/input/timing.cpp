#include "input/timing.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "gfx/screen_state.h"
#include "input/clock.h"
#include "input/keyboard.h"

namespace rt {

namespace {

constexpr int kKeyCheckStepMs = 50;

void SleepUntilKey(Clock& clock) {
  // Without a screen nothing can post a key, so waiting would never end.
  while (Screen() && !TakeKeyPosted()) SleepOn(clock, kKeyCheckStepMs);
}

void SleepWatchingKeys(Clock& clock, int ms) {
  do {
    if (TakeKeyPosted()) return;
    SleepOn(clock, kKeyCheckStepMs);
    ms -= kKeyCheckStepMs;
  } while (ms > kKeyCheckStepMs);
  SleepOn(clock, ms);
}

// Days from 1 March of year 0 in the proleptic Gregorian calendar
// (the usual era-based civil-to-days conversion).
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
};

TimeOfDay SplitTimeOfDay(double serial) {
  if (!std::isfinite(serial)) return {};
  const double whole = std::trunc(serial);
  double fraction = serial - whole;
  if (fraction < 0) fraction = whole == 0 ? -fraction : fraction + 1;
  // The added billionth of a day (86 microseconds) keeps a serial made of
  // whole seconds from falling just below its second.
  const double hours = (fraction + 0.000000001) * 24;
  const int h = static_cast<int>(hours);
  const double minutes = (hours - h) * 60;
  const int m = static_cast<int>(minutes);
  const double seconds = (minutes - m) * 60;
  return {h, m, static_cast<int>(seconds)};
}

}  // namespace

void SleepMs(int ms) {
  Clock& clock = ActiveClock();
  if (ms == 0) {
    if (!Screen()) SleepOn(clock, 0);
  } else if (ms == -1) {
    SleepUntilKey(clock);
  } else if (ms >= 100) {
    SleepWatchingKeys(clock, ms);
  } else if (ms > 0) {
    SleepOn(clock, ms);
  }
}

double Timer() { return ActiveClock().Seconds(); }

double DateSerial(int year, int month, int day) {
  // A month outside 1..12 carries into the year, as a calendar would.
  const long long monthsFromJanuary = static_cast<long long>(month) - 1;
  const long long y =
      year + (monthsFromJanuary >= 0 ? monthsFromJanuary / 12 : (monthsFromJanuary - 11) / 12);
  const int m = static_cast<int>((monthsFromJanuary % 12 + 12) % 12) + 1;
  static const long long serialZero = DaysFromCivil(1899, 12, 30);
  return static_cast<double>(DaysFromCivil(y, m, 1) - serialZero + (static_cast<long long>(day) - 1));
}

double Now() {
  std::tm local{};
  if (!ActiveClock().LocalTime(local)) return 0;
  return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + local.tm_hour / 24.0 +
         local.tm_min / 1440.0 + local.tm_sec / 86400.0;
}

int HourOf(double serial) { return SplitTimeOfDay(serial).hour; }
int MinuteOf(double serial) { return SplitTimeOfDay(serial).minute; }
int SecondOf(double serial) { return SplitTimeOfDay(serial).second; }

std::string DateString() {
  std::tm local{};
  if (!ActiveClock().LocalTime(local)) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
  return text;
}

}  // namespace rt
