#pragma once

#include <cstdint>

// The runtime's pixel formats and the conversions between them: 0xAARRGGBB
// at 4 bytes per pixel, RGB 5-6-5 at 2, a palette index at 1, and the
// 0x00BBGGRR entries of the screen's palette (the order of BMP color tables).
namespace rt {

// 0xRRGGBB (the alpha byte ignored) as 5-6-5: each channel keeps its top bits.
constexpr std::uint16_t Rgb565FromRgb(std::uint32_t rgb) {
  return std::uint16_t(((rgb & 0xF80000) >> 8) | ((rgb & 0xFC00) >> 5) | ((rgb & 0xF8) >> 3));
}

// 5-6-5 as opaque 0xFFRRGGBB. Each channel is widened by repeating its top
// bits below it, so a full channel becomes 0xFF and Rgb565FromRgb gives the
// pixel back.
constexpr std::uint32_t ArgbFromRgb565(std::uint16_t pixel) {
  const std::uint32_t r = (pixel >> 11) & 0x1F, g = (pixel >> 5) & 0x3F, b = pixel & 0x1F;
  return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// 0x00BBGGRR as 0x00RRGGBB and back: red and blue trade places, the top
// byte becomes 0.
constexpr std::uint32_t SwapRedBlue(std::uint32_t color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// A 0xRRGGBB (or 0xAARRGGBB) color as a pixel of `bytesPerPixel` bytes:
// unchanged at 4, 5-6-5 at 2, masked with `indexMask` at 1.
constexpr std::uint32_t ConvertColor(std::uint32_t color, int bytesPerPixel, std::uint32_t indexMask) {
  switch (bytesPerPixel) {
    case 4: return color;
    case 2: return Rgb565FromRgb(color);
    default: return color & indexMask;
  }
}

}  // namespace rt
