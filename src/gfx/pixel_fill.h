#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

// Sets `count` 32-bit pixels from `pixels` on to `colour`.
void FillPixels32(std::uint32_t* pixels, std::size_t count, std::uint32_t colour);

}  // namespace rt
