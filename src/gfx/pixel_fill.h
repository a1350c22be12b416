#pragma once

#include <cstddef>
#include <cstdint>

namespace rt {

// Sets `count` pixels of `bytesPerPixel` bytes (1, 2 or 4) from `pixels` on
// to `color`, a pixel value of that size. Pixels start on a multiple of
// their size.
void FillPixels(std::uint8_t* pixels, std::size_t count, int bytesPerPixel, std::uint32_t color);

}  // namespace rt
