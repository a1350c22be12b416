#include "pictures/canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

Rgba Hex(std::uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

Rgba WithAlpha(Rgba color, float alpha) { return {color.r * alpha, color.g * alpha, color.b * alpha, alpha}; }

Rgba Mix(Rgba from, Rgba to, double t) {
  const float k = float(std::clamp(t, 0.0, 1.0));
  return {from.r + (to.r - from.r) * k, from.g + (to.g - from.g) * k, from.b + (to.b - from.b) * k,
          from.a + (to.a - from.a) * k};
}

Rgba Ramp(const std::vector<Stop>& stops, double at) {
  if (at <= stops.front().at) return stops.front().color;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    if (at <= stops[i].at) {
      return Mix(stops[i - 1].color, stops[i].color,
                 (at - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    }
  }
  return stops.back().color;
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, fill) {}

void Canvas::Blend(int x, int y, Rgba color, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  const float k = float(std::min(coverage, 1.0));
  Rgba& p = At(x, y);
  const float keep = 1.0f - color.a * k;
  p = {color.r * k + p.r * keep, color.g * k + p.g * keep, color.b * k + p.b * keep,
       color.a * k + p.a * keep};
}

void Canvas::Fill(const Transform& where, Box box, const Shape& inside, const Paint& paint) {
  constexpr int kSamples = 4;
  const int x0 = std::max(0, int(std::floor(where.x + box.left * where.scale)));
  const int y0 = std::max(0, int(std::floor(where.y + box.top * where.scale)));
  const int x1 = std::min(width_, int(std::ceil(where.x + box.right * where.scale)));
  const int y1 = std::min(height_, int(std::ceil(where.y + box.bottom * where.scale)));
  for (int py = y0; py < y1; ++py) {
    for (int px = x0; px < x1; ++px) {
      Rgba sum;
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double lx = (px + (sx + 0.5) / kSamples - where.x) / where.scale;
          const double ly = (py + (sy + 0.5) / kSamples - where.y) / where.scale;
          if (!inside(lx, ly)) continue;
          const Rgba c = paint(lx, ly);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
          ++hits;
        }
      }
      if (hits == 0) continue;
      const float n = float(hits);
      Blend(px, py, {sum.r / n, sum.g / n, sum.b / n, sum.a / n}, double(hits) / (kSamples * kSamples));
    }
  }
}

void Canvas::Fill(const Transform& where, Box box, const Shape& inside, Rgba color) {
  Fill(where, box, inside, [color](double, double) { return color; });
}

std::uint32_t Canvas::Rgb(int x, int y) const {
  const Rgba& p = At(x, y);
  if (p.a <= 0) return 0;
  auto channel = [&](float v) { return std::uint32_t(std::lround(std::clamp(v / p.a, 0.0f, 1.0f) * 255)); };
  return channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b);
}

}  // namespace pictures
