#pragma once

#include <string_view>

#include "gfx/image.h"

namespace game {

// The game's pictures, opened by bare name in the working folder.
inline constexpr std::string_view kIntroPicture = "intro.bmp";
inline constexpr std::string_view kBackgroundPicture = "background.bmp";
inline constexpr std::string_view kCatcherPicture = "faenger.bmp";
inline constexpr std::string_view kWhiteStonePicture = "normal.bmp";
inline constexpr std::string_view kBlackStonePicture = "stein.bmp";
inline constexpr std::string_view kHeartPicture = "leben.bmp";
inline constexpr std::string_view kMoneyPicture = "geld.bmp";
inline constexpr std::string_view kUfoPicture = "ufo.bmp";

// Loads a BMP file into a new image of the size its header gives, at the
// screen's depth. No image when the file is missing, its header gives a
// width or height of 0, or more pixels than the file can describe (a damaged
// header); a top-down file (negative height) loads upright.
rt::ImagePtr LoadBitmapAsset(std::string_view fileName);

}  // namespace game
