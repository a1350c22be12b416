#include <chrono>
#include <thread>

#include "input/clock.h"

namespace rt {

// On the desktop the program has a thread of its own: it simply sleeps.
void PlatformSleep(int delayMs) { std::this_thread::sleep_for(std::chrono::milliseconds(delayMs)); }

}  // namespace rt
