#pragma once

#include <cstdint>
#include <vector>

namespace game::test {

// The pixels (0xRRGGBB, rows top to bottom) of a rectangle of the X screen;
// empty when the display cannot be read.
std::vector<std::uint32_t> CaptureScreenArea(int left, int top, int width, int height);

}  // namespace game::test
