#include "input/random.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "input/timing.h"

namespace rt {

namespace {

constexpr int kStateWords = 624;
constexpr int kShift = 397;

struct RandomState {
  std::array<std::uint32_t, kStateWords> mt{};
  int index = kStateWords;  // kStateWords: the next draw twists first
  bool seeded = false;
  double lastValue = 0;
};

RandomState& State() {
  static RandomState state;
  return state;
}

std::uint32_t SeedFromTimer() {
  // memcpy rather than std::bit_cast: the browser build's standard library lacks it.
  const double seconds = Timer();
  std::uint64_t bits;
  std::memcpy(&bits, &seconds, sizeof bits);
  return static_cast<std::uint32_t>(bits) ^ static_cast<std::uint32_t>(bits >> 32);
}

// The low 32 bits of the seed truncated toward zero, taken arithmetically so
// that seeds beyond 64 bits, infinities and not-a-number are defined too.
std::uint32_t Low32BitsOf(double seed) {
  if (!std::isfinite(seed)) return 0;
  double low = std::fmod(std::trunc(seed), 4294967296.0);
  if (low < 0) low += 4294967296.0;
  return static_cast<std::uint32_t>(low);
}

// A linear congruential fill instead of the generator's published one.
void Seed(RandomState& state, std::uint32_t seed) {
  state.mt[0] = seed;
  for (int i = 1; i < kStateWords; ++i) state.mt[i] = state.mt[i - 1] * 1664525u + 1013904223u;
  state.index = kStateWords;
  state.seeded = true;
}

void Twist(RandomState& state) {
  auto& mt = state.mt;
  for (int i = 0; i < kStateWords; ++i) {
    const std::uint32_t y = (mt[i] & 0x80000000u) | (mt[(i + 1) % kStateWords] & 0x7FFFFFFFu);
    mt[i] = mt[(i + kShift) % kStateWords] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
  }
  state.index = 0;
}

std::uint32_t NextWord(RandomState& state) {
  if (state.index >= kStateWords) Twist(state);
  std::uint32_t y = state.mt[state.index++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

}  // namespace

void Randomize(double seed, int /*algorithm*/) {
  Seed(State(), seed == -1 ? SeedFromTimer() : Low32BitsOf(seed));
}

double Rnd(float x) {
  RandomState& state = State();
  if (x == 0) return state.lastValue;
  if (!state.seeded) Seed(state, 0);
  state.lastValue = NextWord(state) * (1.0 / 4294967296.0);
  return state.lastValue;
}

void ResetRandom() { State() = RandomState{}; }

}  // namespace rt
