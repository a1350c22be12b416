#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "game/game_state.h"

// Stand-ins for the game's eight pictures, simple enough that a test can
// tell from a pixel what was drawn there.
namespace game::test {

// Colors are 0xRRGGBB. Sprites are solid rectangles; the object sprites
// have see-through corners.
inline constexpr std::uint32_t kTransparentKey = 0xFF00FF;
inline constexpr std::uint32_t kCatcherColor = 0xFF8800;
inline constexpr std::uint32_t kWhiteStoneColor = 0xE8E8E8;
inline constexpr std::uint32_t kBlackStoneColor = 0x383838;
inline constexpr std::uint32_t kHeartColor = 0xE02020;
inline constexpr std::uint32_t kMoneyColor = 0xF0C000;
inline constexpr std::uint32_t kUfoColor = 0x20C040;
inline constexpr int kCatcherWidth = 30;
inline constexpr int kCatcherHeight = 10;
inline constexpr int kObjectSize = 16;
std::uint32_t SpriteColor(ObjectKind kind);
// The background: a dark vertical gradient, different on every row.
std::uint32_t BackgroundColorAt(int x, int y);
inline constexpr std::uint32_t kIntroColor = 0x301040;

// Writes a 24-bit bottom-up BMP whose pixels come from colorAt(x, y).
void WriteBmp(const std::filesystem::path& path, int width, int height,
              const std::function<std::uint32_t(int x, int y)>& colorAt);
// Writes the eight pictures into `folder`.
void WriteGamePictures(const std::filesystem::path& folder);

}  // namespace game::test
