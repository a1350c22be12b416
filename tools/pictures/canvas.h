#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// A small anti-aliased painter for the game's pictures. Colors are
// premultiplied RGBA floats in 0..1; shapes are inside-tests sampled 4 × 4 per
// pixel, so any implicit curve can be drawn with smooth edges.
namespace pictures {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB, opaque.
Rgba Hex(std::uint32_t rgb);
Rgba WithAlpha(Rgba color, float alpha);  // color must be opaque
Rgba Mix(Rgba from, Rgba to, double t);
// Piecewise-linear color ramp over stops sorted by position.
struct Stop {
  double at;
  Rgba color;
};
Rgba Ramp(const std::vector<Stop>& stops, double at);
double SmoothStep(double edge0, double edge1, double x);

// Maps a drawing's own units onto the canvas: canvas = origin + local × scale.
struct Transform {
  double x = 0, y = 0, scale = 1;
};

struct Box {
  double left, top, right, bottom;  // local units
};

using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Rgba(double x, double y)>;

class Canvas {
 public:
  Canvas(int width, int height, Rgba fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba& At(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

  // Composites `color` over the pixel with the given coverage (0..1).
  void Blend(int x, int y, Rgba color, double coverage = 1.0);
  // Paints every point of `box` for which `inside` holds, through `where`.
  void Fill(const Transform& where, Box box, const Shape& inside, const Paint& paint);
  void Fill(const Transform& where, Box box, const Shape& inside, Rgba color);

  // The pixel as 0xRRGGBB after un-premultiplying (black where empty).
  std::uint32_t Rgb(int x, int y) const;

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

// A deterministic source of numbers in 0..1 for scattering stars and grass:
// the raw generator output is portable where std's distributions are not.
class Scatter {
 public:
  explicit Scatter(std::uint32_t seed) : engine_(seed) {}
  double Next() { return engine_() / 4294967296.0; }
  double Between(double low, double high) { return low + (high - low) * Next(); }

 private:
  std::mt19937 engine_;
};

}  // namespace pictures
