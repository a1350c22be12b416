#include "game/app_icon.h"

#include <string_view>

namespace game {

namespace {

// One letter per pixel; the colors are those of the coin in the game.
// clang-format off
constexpr std::array<std::string_view, kIconSize> kCoin{
    ".....oooooo.....",
    "...oolllllloo...",
    "..oollllllggoo..",
    ".oollffffffggoo.",
    ".ollff5555ffggo.",
    "ollfff5ssssffgdo",
    "ollfff555ffffddo",
    "ollffffss5fffddo",
    "ollffffff5sffddo",
    "ollfff5ff5sffddo",
    "olgffff55fsffddo",
    ".oggffffssffddo.",
    ".ooggffffffddoo.",
    "..ooggddddddoo..",
    "...ooddddddoo...",
    ".....oooooo.....",
};
// clang-format on

std::uint32_t ColorOf(char letter) {
  switch (letter) {
    case 'o': return 0xFF4A2C00;  // outline
    case 'l': return 0xFFFFF0A0;  // rim in the light
    case 'g': return 0xFFF2B82C;  // rim
    case 'd': return 0xFFA8680A;  // rim in the shade
    case 'f': return 0xFFF5C537;  // face
    case 's': return 0xFF8A5204;  // the five's shadow
    case '5': return 0xFFFFF3B8;  // the five
    default: return 0x00000000;
  }
}

}  // namespace

IconPixels AppIcon() {
  IconPixels pixels{};
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) pixels[y * kIconSize + x] = ColorOf(kCoin[y][x]);
  }
  return pixels;
}

}  // namespace game
