#include "input/clock.h"

// Suspends the program and resumes it after `delayMs` (web_library.js).
extern "C" void morvanta_web_sleep(int delayMs);

namespace rt {

// In the browser the program runs on the page's only thread, so a sleep is
// the page's turn: the program is suspended (the build's Asyncify unwinds
// its stack), the page delivers input and shows frames, and the program
// resumes where it slept once the time is up.
void PlatformSleep(int delayMs) { morvanta_web_sleep(delayMs); }

}  // namespace rt
