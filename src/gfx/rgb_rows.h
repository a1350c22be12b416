#pragma once

#include <cstdint>

namespace rt {

// Rows of the common BMP forms to opaque 0xFFRRGGBB pixels, on the path
// ActiveVectorPath() names. None reads a byte past the row's last pixel.

// `pixels` blue, green, red byte triples.
void BgrToArgbRow(const std::uint8_t* bgr, std::uint32_t* argb, int pixels);

// `pixels` little-endian 16-bit pixels of 5 bits of red, 5 of green and 5 of
// blue from bit 14 down (the top bit unused), or 5, 6 and 5 from bit 15
// down. Each channel widens to 8 bits by repeating its top bits below it.
void Rgb555ToArgbRow(const std::uint8_t* rgb16, std::uint32_t* argb, int pixels);
void Rgb565ToArgbRow(const std::uint8_t* rgb16, std::uint32_t* argb, int pixels);

}  // namespace rt
