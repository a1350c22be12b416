#pragma once

namespace rt {

// Every runtime operation reports one of these codes and also records it as
// the calling thread's last result. Failures are never exceptions.
enum Result : int {
  ResultOk = 0,
  ResultIllegalCall = 1,
  ResultFileNotFound = 2,
  ResultFileIoError = 3,
  ResultOutOfMemory = 4,
};

// The result most recently recorded on the calling thread.
Result LastResult();

// Records `result` as the calling thread's last result and returns it, so a
// failure path reads `return SetLastResult(ResultFileNotFound);`.
Result SetLastResult(Result result);

// An omitted optional integer argument (a color, a coordinate, a mode).
inline constexpr int kOmitted = static_cast<int>(0xFFFF0000u);

}  // namespace rt
