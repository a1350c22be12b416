#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

// Sets `count` 32-bit pixels from `pixels` on to `colour`. Areas of at least
// kStreamingFillBytes go around the cache: a cleared screen is written whole
// and drawn over before it is read, so reading its lines in first (as plain
// stores must) only doubles the memory traffic.
inline constexpr std::size_t kStreamingFillBytes = std::size_t(256) << 10;
void FillPixels32(std::uint32_t* pixels, std::size_t count, std::uint32_t colour);

}  // namespace rt
