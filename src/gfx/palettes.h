#pragma once

#include <cstdint>
#include <span>

namespace rt {

// The built-in default palettes as 0xRRGGBB entries: kind 0 has 2 entries
// (black, white), 1 the 16 CGA text colors, 2 the 64 EGA colors and 3 the
// 256 colors of the VGA default palette. Any other kind is empty.
std::span<const std::uint32_t> DefaultPalette(int kind);

}  // namespace rt
