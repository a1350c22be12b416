#pragma once

#include <array>
#include <cstdint>

namespace game {

// The program's icon: the coin worth five points as 16 x 16 pixel art. The
// window gets these pixels; the desktop's menus get them as a scalable
// picture drawn from the same pixels at build time.
inline constexpr int kIconSize = 16;
using IconPixels = std::array<std::uint32_t, kIconSize * kIconSize>;

// 0xAARRGGBB, row by row from the top; alpha 0 around the coin.
IconPixels AppIcon();

}  // namespace game
