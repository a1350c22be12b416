// Inputs shared by the peer comparisons: a varied picture (no flat color, so
// nothing is won by accident), sprites with a keyed outline, and the picture
// as a 24-bit BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
inline constexpr std::uint32_t kKey = 0x00FF00FF;  // the transparent color, no alpha

// The color (0xRRGGBB) of the generated picture at (x, y): gradients mixed
// with a hash, never the key color.
std::uint32_t PictureColor(int x, int y);

// The whole picture as opaque 0xFFRRGGBB rows.
const std::vector<std::uint32_t>& PictureArgb();
// A second picture of the same kind in which every pixel differs from the first.
const std::vector<std::uint32_t>& OtherPictureArgb();

// A width x height sprite as 0xAARRGGBB rows: picture colors with alpha 0xFF
// inside a disc, the key color (alpha 0) outside it.
std::vector<std::uint32_t> MakeSprite(int width, int height);
bool SpriteIsKey(int width, int height, int x, int y);

// Writes the picture as a bottom-up 24-bit BMP and returns its path (in a
// folder of its own under the temporary folder, removed at exit).
const std::string& Picture24Path();
// A path for files the benchmarks write, in the same folder.
std::string ScratchPath(const std::string& name);

}  // namespace bench
