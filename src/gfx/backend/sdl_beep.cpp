#include "gfx/backend/sdl_beep.h"

namespace rt {

namespace {
constexpr int kBeepHz = 1000;
constexpr int kBeepMs = 250;
constexpr std::int16_t kAmplitude = 6000;
}  // namespace

std::vector<std::int16_t> ToneSamples(int rate, int hz, int ms) {
  std::vector<std::int16_t> samples(std::size_t(rate) * ms / 1000);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    // Position within the period, in units of 1/rate periods: high for the first half.
    const bool high = (i * hz * 2 / rate) % 2 == 0;
    samples[i] = high ? kAmplitude : -kAmplitude;
  }
  return samples;
}

SdlBeeper::~SdlBeeper() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlBeeper::Open() {
  if (device_ != 0) return true;
  if (failed_) return false;
  failed_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  audioStarted_ = true;
  SDL_AudioSpec want{};
  want.freq = 48000;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (device_ == 0) return false;
  failed_ = false;
  rate_ = have.freq;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlBeeper::Beep() {
  if (!Open()) return;
  const std::vector<std::int16_t> tone = ToneSamples(rate_, kBeepHz, kBeepMs);
  SDL_QueueAudio(device_, tone.data(), Uint32(tone.size() * sizeof(std::int16_t)));
}

}  // namespace rt
