#pragma once

#include <cstdint>

namespace rt {

// The common picture's row: `pixels` blue, green, red byte triples to opaque
// 0xFFRRGGBB pixels, on the path ActiveVectorPath() names. Reads no byte
// past the last triple.
void BgrToArgbRow(const std::uint8_t* bgr, std::uint32_t* argb, int pixels);

}  // namespace rt
