#pragma once

#include <string>

namespace rt {

// Sleeps in milliseconds through the active clock (input/clock.h):
//   -1        until a key code is posted (returns at once with no screen open,
//             since no key can ever arrive then);
//   >= 100    in 50 ms steps, returning as soon as a key has been posted;
//   1..99     one plain sleep, keys not looked at;
//   0, < -1   returns at once (with no screen open, 0 is one sleep of 0 ms).
// A key that ends a sleep stays in the key queue; only keyPosted is consumed.
void SleepMs(int ms);

// Seconds from the high-resolution counter, from an arbitrary start.
double Timer();

// Date-time serials: days since 30 December 1899 as the whole part (so
// 1 January 1900 is 2), the time of day as the fraction.
double DateSerial(int year, int month, int day);
// The local date and time as a serial, to the whole second; 0 when the local
// time cannot be obtained.
double Now();

// Parts of a serial's time of day. Not-a-number and infinities give 0.
int HourOf(double serial);
int MinuteOf(double serial);
int SecondOf(double serial);

// Today's local date as "MM-DD-YYYY"; empty when the local time is unknown.
std::string DateString();

}  // namespace rt
