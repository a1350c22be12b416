#include "gfx/palettes.h"

#include <array>

namespace rt {

namespace {

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

// VGA DACs hold 6 bits a channel; widen by bit replication.
constexpr int Widen6(int v) { return (v << 2) | (v >> 4); }

constexpr std::array<std::uint32_t, 16> kCga = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

constexpr std::array<std::uint32_t, 2> kMono = {0x000000, 0xFFFFFF};

constexpr std::array<std::uint32_t, 64> MakeEga() {
  std::array<std::uint32_t, 64> p{};
  for (int i = 0; i < 64; ++i) {
    // Bits 0-2 add 0xAA to blue, green, red; bits 3-5 add 0x55.
    int b = ((i & 1) ? 0xAA : 0) + ((i & 8) ? 0x55 : 0);
    int g = ((i & 2) ? 0xAA : 0) + ((i & 16) ? 0x55 : 0);
    int r = ((i & 4) ? 0xAA : 0) + ((i & 32) ? 0x55 : 0);
    p[i] = Rgb(r, g, b);
  }
  return p;
}

constexpr std::array<std::uint32_t, 256> MakeVga() {
  std::array<std::uint32_t, 256> p{};
  for (int i = 0; i < 16; ++i) p[i] = kCga[i];
  constexpr int greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) p[16 + i] = Rgb(Widen6(greys[i]), Widen6(greys[i]), Widen6(greys[i]));
  // Nine groups of 24 hues: three intensities times three saturations, each
  // given as the five channel levels low, a, b, c, high.
  constexpr int groups[9][5] = {
      {0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
      {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
      {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16},
  };
  int n = 32;
  for (const auto& lv : groups) {
    const int lo = lv[0], a = lv[1], b = lv[2], c = lv[3], hi = lv[4];
    const int hues[24][3] = {
        {lo, lo, hi}, {a, lo, hi},  {b, lo, hi},  {c, lo, hi},  {hi, lo, hi}, {hi, lo, c},
        {hi, lo, b},  {hi, lo, a},  {hi, lo, lo}, {hi, a, lo},  {hi, b, lo},  {hi, c, lo},
        {hi, hi, lo}, {c, hi, lo},  {b, hi, lo},  {a, hi, lo},  {lo, hi, lo}, {lo, hi, a},
        {lo, hi, b},  {lo, hi, c},  {lo, hi, hi}, {lo, c, hi},  {lo, b, hi},  {lo, a, hi},
    };
    for (const auto& h : hues) p[n++] = Rgb(Widen6(h[0]), Widen6(h[1]), Widen6(h[2]));
  }
  // The last eight entries stay black.
  return p;
}

constexpr auto kEga = MakeEga();
constexpr auto kVga = MakeVga();

}  // namespace

std::span<const std::uint32_t> DefaultPalette(int kind) {
  switch (kind) {
    case 0: return kMono;
    case 1: return kCga;
    case 2: return kEga;
    case 3: return kVga;
    default: return {};
  }
}

}  // namespace rt
