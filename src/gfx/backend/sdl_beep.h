#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace rt {

// A square wave of `hz` for `ms` milliseconds at `rate` samples per second,
// signed 16-bit mono, at a moderate volume.
std::vector<std::int16_t> ToneSamples(int rate, int hz, int ms);

// Sounds the 1000 Hz, 250 ms beep through SDL audio. The device is opened on
// the first beep; where none exists the beep stays silent. Display thread only.
class SdlBeeper {
 public:
  SdlBeeper() = default;
  SdlBeeper(const SdlBeeper&) = delete;
  SdlBeeper& operator=(const SdlBeeper&) = delete;
  ~SdlBeeper();

  void Beep();

 private:
  bool Open();

  SDL_AudioDeviceID device_ = 0;
  int rate_ = 0;
  bool failed_ = false;
  bool audioStarted_ = false;
};

}  // namespace rt
