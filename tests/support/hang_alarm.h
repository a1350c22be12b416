#pragma once

#include <unistd.h>

namespace rt::test {

// A call that hangs for good (a plain open of a named pipe waits for a writer
// that never comes) ends the test program after `seconds` instead of leaving
// it to sit until the runner gives up. Far longer than any test takes.
class HangAlarm {
 public:
  explicit HangAlarm(unsigned seconds = 60) { alarm(seconds); }
  ~HangAlarm() { alarm(0); }
  HangAlarm(const HangAlarm&) = delete;
  HangAlarm& operator=(const HangAlarm&) = delete;
};

}  // namespace rt::test
