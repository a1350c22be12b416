#include "pictures/scenery.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "pictures/sprites.h"

namespace pictures {
namespace {

constexpr Transform kIdentity{};
constexpr Box kWhole{0, 0, kScreenWidth, kScreenHeight};

using Ridge = std::function<double(double x)>;

void PaintSky(Canvas& canvas, const std::vector<Stop>& stops) {
  for (int y = 0; y < canvas.Height(); ++y) {
    const Rgba c = Ramp(stops, y);
    for (int x = 0; x < canvas.Width(); ++x) canvas.At(x, y) = c;
  }
}

// A faint band of light across the sky, the way the galaxy shows on a clear night.
void PaintMilkyWay(Canvas& canvas, double x0, double y0, double x1, double y1, float strength) {
  const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
  canvas.Fill(
      kIdentity, kWhole, [](double, double y) { return y < 360; },
      [=](double x, double y) {
        const double across = ((x - x0) * dy - (y - y0) * dx) / length;
        const double glow = std::exp(-across * across / (2 * 38.0 * 38.0));
        const double ripple = 0.75 + 0.25 * std::sin(x * 0.031 + y * 0.017) * std::sin(x * 0.013 - y * 0.041);
        return WithAlpha(Hex(0x7a6fc0), float(glow * ripple) * strength);
      });
}

void ScatterStars(Canvas& canvas, std::uint32_t seed, int count, double horizon) {
  Scatter scatter(seed);
  static const std::array<Rgba, 4> kTints{Hex(0xffffff), Hex(0xcfdcff), Hex(0xfff1cf), Hex(0xffd9e6)};
  for (int i = 0; i < count; ++i) {
    const double x = scatter.Between(0, kScreenWidth);
    const double y = std::pow(scatter.Next(), 1.35) * horizon;
    const double size = scatter.Next();
    const Rgba tint = kTints[std::size_t(scatter.Next() * kTints.size()) % kTints.size()];
    const float fade = float(1.0 - SmoothStep(horizon * 0.6, horizon, y));
    const float brightness = float(0.35 + 0.65 * scatter.Next()) * fade;
    if (size < 0.8) {
      canvas.Blend(int(x), int(y), WithAlpha(tint, brightness * 0.85f));
      continue;
    }
    const double r = size < 0.96 ? 0.9 : 1.3;
    canvas.Fill(
        kIdentity, {x - 8, y - 8, x + 8, y + 8},
        [=](double px, double py) { return std::hypot(px - x, py - y) < r * 2.2; },
        [=](double px, double py) {
          const double d = std::hypot(px - x, py - y) / r;
          return WithAlpha(tint, brightness * float(std::exp(-d * d * 0.9)));
        });
    if (size >= 0.96) {  // the brightest few sparkle
      canvas.Fill(
          kIdentity, {x - 7, y - 7, x + 7, y + 7},
          [=](double px, double py) {
            return (std::abs(px - x) < 0.35 && std::abs(py - y) < 6) ||
                   (std::abs(py - y) < 0.35 && std::abs(px - x) < 6);
          },
          [=](double px, double py) {
            const double d = std::max(std::abs(px - x), std::abs(py - y));
            return WithAlpha(tint, brightness * float(1.0 - d / 6.0) * 0.8f);
          });
    }
  }
}

void DrawMoon(Canvas& canvas, double cx, double cy, double r, float haloStrength) {
  const double halo = r * 3.2;
  canvas.Fill(
      kIdentity, {cx - halo, cy - halo, cx + halo, cy + halo},
      [=](double x, double y) { return std::hypot(x - cx, y - cy) < halo; },
      [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy) / halo;
        return WithAlpha(Hex(0xbfb6ff), haloStrength * float((1 - d) * (1 - d)));
      });
  canvas.Fill(
      kIdentity, {cx - r, cy - r, cx + r, cy + r},
      [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; },
      [=](double x, double y) {
        const double edge = std::hypot(x - cx, y - cy) / r;
        const Rgba face = Mix(Hex(0xfff6d8), Hex(0xd9cfa8), edge * edge);
        // Darker seas: a few soft blotches.
        const std::array<std::array<double, 3>, 4> seas{
            {{-0.30, -0.25, 0.28}, {0.25, -0.05, 0.22}, {-0.05, 0.35, 0.2}, {0.35, 0.4, 0.12}}};
        double sea = 0;
        for (const auto& s : seas) {
          const double d = std::hypot((x - cx) / r - s[0], (y - cy) / r - s[1]) / s[2];
          sea = std::max(sea, std::exp(-d * d * 1.6));
        }
        return Mix(face, Hex(0xb3a98a), sea * 0.55);
      });
}

// Fills everything below the ridge line with the paint, with a thin lit rim.
void DrawRidge(Canvas& canvas, const Ridge& ridge, const Paint& paint, Rgba rim, double bottom) {
  canvas.Fill(
      kIdentity, {0, 0, kScreenWidth, bottom}, [&](double x, double y) { return y >= ridge(x); }, paint);
  canvas.Fill(
      kIdentity, {0, 0, kScreenWidth, bottom},
      [&](double x, double y) { return y >= ridge(x) && y < ridge(x) + 1.2; }, rim);
}

void DrawPine(Canvas& canvas, double x, double baseY, double height, Rgba color) {
  const double width = height * 0.42;
  canvas.Fill(
      kIdentity, {x - width, baseY - height, x + width, baseY + 2},
      [=](double px, double py) {
        if (py > baseY) return std::abs(px - x) < height * 0.04;  // the trunk
        const double t = (baseY - py) / height;                   // 0 at the foot, 1 at the tip
        if (t > 1) return false;
        // Three tiers, each wider at its foot.
        const double tier = std::fmod(t * 3.0, 1.0);
        const double spread = (1.0 - t) * 0.75 + (1.0 - tier) * 0.25;
        return std::abs(px - x) < width * spread;
      },
      color);
}

void DrawCottage(Canvas& canvas, double x, double baseY) {
  const Rgba wall = Hex(0x0b1320);
  canvas.Fill(
      kIdentity, {x - 16, baseY - 30, x + 16, baseY + 1},
      [=](double px, double py) {
        const bool walls = std::abs(px - x) <= 11 && py >= baseY - 16 && py <= baseY;
        const bool roof = py >= baseY - 28 && py < baseY - 16 && std::abs(px - x) <= 14 - (baseY - 16 - py);
        const bool chimney = px >= x + 5 && px <= x + 8 && py >= baseY - 27 && py < baseY - 18;
        return walls || roof || chimney;
      },
      wall);
  // A lit window and its glow on the night.
  canvas.Fill(
      kIdentity, {x - 30, baseY - 40, x + 30, baseY + 14},
      [=](double px, double py) { return std::hypot(px - (x - 3), py - (baseY - 9)) < 26; },
      [=](double px, double py) {
        const double d = std::hypot(px - (x - 3), py - (baseY - 9)) / 26;
        return WithAlpha(Hex(0xffb347), 0.22f * float((1 - d) * (1 - d)));
      });
  canvas.Fill(
      kIdentity, {x - 7, baseY - 13, x + 1, baseY - 5},
      [=](double px, double py) {
        const bool pane = px >= x - 6 && px <= x && py >= baseY - 12 && py <= baseY - 6;
        const bool bars = std::abs(px - (x - 3)) < 0.4 || std::abs(py - (baseY - 9)) < 0.4;
        return pane && !bars;
      },
      [=](double, double py) { return Mix(Hex(0xffe9a0), Hex(0xffa23c), (py - (baseY - 12)) / 6); });
}

double FarRidge(double x) {
  const double peaks = std::abs(std::sin(x / 97.0 + 0.6)) * 34 + std::abs(std::sin(x / 41.0 + 1.9)) * 12;
  return 336 - peaks + 4 * std::sin(x / 13.0);
}

double NearRidge(double x) { return 362 + 9 * std::sin(x / 74.0 + 2.1) + 5 * std::sin(x / 29.0 + 0.3); }

double MeadowEdge(double x) { return 386 + 2.5 * std::sin(x / 37.0) + 1.5 * std::sin(x / 11.0 + 1.0); }

void DrawHills(Canvas& canvas, std::uint32_t seed) {
  DrawRidge(
      canvas, FarRidge, [](double, double y) { return Mix(Hex(0x2a2458), Hex(0x1a1840), (y - 290) / 80); },
      WithAlpha(Hex(0x8a7fd0), 0.35f), 400);
  DrawRidge(
      canvas, NearRidge, [](double, double y) { return Mix(Hex(0x132a3a), Hex(0x0c1a26), (y - 350) / 40); },
      WithAlpha(Hex(0x6aa0b8), 0.3f), 400);
  Scatter scatter(seed);
  for (int i = 0; i < 22; ++i) {
    const double x = scatter.Between(0, kScreenWidth);
    const double h = scatter.Between(14, 30);
    DrawPine(canvas, x, NearRidge(x) + 6, h, Hex(0x08121c));
  }
}

// The meadow the catcher runs on: grass tufts at its edge, then rows whose
// color depends on y only, then dark earth with pebbles.
void DrawMeadow(Canvas& canvas, std::uint32_t seed) {
  canvas.Fill(
      kIdentity, {0, 370, kScreenWidth, kScreenHeight}, [](double x, double y) { return y >= MeadowEdge(x); },
      [](double, double y) { return GroundColor(y); });
  Scatter scatter(seed);
  for (int i = 0; i < 260; ++i) {
    const double x = scatter.Between(0, kScreenWidth);
    const double foot = std::min(397.0, MeadowEdge(x) + scatter.Between(2, 9));
    const double h = scatter.Between(3, 8);
    const double lean = scatter.Between(-0.5, 0.5);
    const Rgba blade = Mix(Hex(0x0e2616), Hex(0x3f7a45), scatter.Next());
    canvas.Fill(
        kIdentity, {x - 6, foot - h - 1, x + 6, foot},
        [=](double px, double py) {
          const double t = (foot - py) / h;
          return t >= 0 && t <= 1 && std::abs(px - (x + lean * h * t)) < 0.7 * (1 - t) + 0.1;
        },
        blade);
  }
  for (int i = 0; i < 70; ++i) {
    const double x = scatter.Between(0, kScreenWidth);
    const double y = scatter.Between(426, 478);
    const double r = scatter.Between(1.0, 2.6);
    canvas.Fill(
        kIdentity, {x - r, y - r, x + r, y + r},
        [=](double px, double py) { return std::hypot((px - x) / 1.4, py - y) <= r * 0.7; },
        [=](double, double py) { return Mix(Hex(0x3a3a40), Hex(0x15161a), (py - y + r) / (2 * r)); });
  }
}

const std::vector<Stop>& NightSky() {
  static const std::vector<Stop> stops{{0, Hex(0x05081a)},   {130, Hex(0x0b1334)}, {240, Hex(0x171a48)},
                                       {310, Hex(0x2c1f58)}, {350, Hex(0x4a2760)}, {390, Hex(0x6a3560)}};
  return stops;
}

const std::vector<Stop>& DuskSky() {
  static const std::vector<Stop> stops{{0, Hex(0x070a1e)},   {120, Hex(0x0e1538)}, {230, Hex(0x231e56)},
                                       {290, Hex(0x4a2a68)}, {330, Hex(0x8a3c6a)}, {370, Hex(0xd0665a)},
                                       {400, Hex(0xf09a5a)}};
  return stops;
}

// The title in big glowing letters, each a 5 × 7 grid of cells.
void DrawTitle(Canvas& canvas, double left, double top, double cell) {
  static constexpr std::array<std::array<const char*, 7>, 8> kLetters{{
      {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},  // M
      {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},  // O
      {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"},  // R
      {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."},  // V
      {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},  // A
      {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"},  // N
      {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},  // T
      {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},  // A
  }};
  const double advance = 6 * cell;
  // Distance from a point to the nearest filled cell of the word, in pixels.
  auto distance = [&](double x, double y) {
    double best = 1e9;
    const int letter = int(std::floor((x - left) / advance));
    for (int l = std::max(0, letter - 1); l <= std::min(7, letter + 1); ++l) {
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (kLetters[std::size_t(l)][std::size_t(row)][col] != '#') continue;
          const double x0 = left + l * advance + col * cell, y0 = top + row * cell;
          const double dx = std::max({x0 - x, 0.0, x - (x0 + cell)});
          const double dy = std::max({y0 - y, 0.0, y - (y0 + cell)});
          best = std::min(best, std::hypot(dx, dy));
        }
      }
    }
    return best;
  };
  const double right = left + 8 * advance - cell, bottom = top + 7 * cell;
  const Box around{left - 24, top - 24, right + 24, bottom + 24};
  // Glow, shadow, outline, face, shine.
  canvas.Fill(
      kIdentity, around, [&](double x, double y) { return distance(x, y) < 20; },
      [&](double x, double y) {
        const double d = distance(x, y) / 20;
        return WithAlpha(Hex(0xff7a3c), 0.28f * float((1 - d) * (1 - d)));
      });
  canvas.Fill(
      kIdentity, around, [&](double x, double y) { return distance(x - 5, y - 6) <= 3.5; },
      WithAlpha(Hex(0x0a0410), 0.6f));
  canvas.Fill(
      kIdentity, around, [&](double x, double y) { return distance(x, y) <= 3.5; }, Hex(0x2a0c1e));
  canvas.Fill(
      kIdentity, around, [&](double x, double y) { return distance(x, y) <= 0.0; },
      [&](double, double y) {
        return Ramp({{top, Hex(0xfff3a8)}, {top + 3.2 * cell, Hex(0xffc23a)}, {bottom, Hex(0xe0561e)}}, y);
      });
  canvas.Fill(
      kIdentity, around,
      [&](double x, double y) {
        const double inCell = std::fmod(y - top, cell);
        return distance(x, y) <= 0.0 && inCell > cell * 0.12 && inCell < cell * 0.32;
      },
      WithAlpha(Hex(0xffffff), 0.35f));
}

// A falling object with a faint trail above it.
void DrawFalling(Canvas& canvas, void (*draw)(Canvas&, const Transform&), SpriteSize size, double x, double y,
                 double scale) {
  const double cx = x + size.width * scale / 2;
  const double trail = 70;
  canvas.Fill(
      kIdentity, {cx - 6 * scale, y - trail, cx + 6 * scale, y + 4},
      [=](double px, double) { return std::abs(px - cx) < 5 * scale; },
      [=](double px, double py) {
        const double along = (py - (y - trail)) / trail;
        const double across = 1 - std::abs(px - cx) / (5 * scale);
        return WithAlpha(Hex(0xd8e0ff), float(along * along * across) * 0.22f);
      });
  draw(canvas, {x, y, scale});
}

}  // namespace

Rgba GroundColor(double y) {
  y = std::floor(y) + 0.5;  // one color per pixel row
  return Ramp({{380, Hex(0x1f4a2c)}, {398, Hex(0x17361f)}, {424, Hex(0x0f2216)}, {480, Hex(0x070d09)}}, y);
}

Canvas DrawBackground() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSky(canvas, NightSky());
  PaintMilkyWay(canvas, -40, 330, 680, -20, 0.10f);
  ScatterStars(canvas, 7, 260, 360);
  // Top right: no line of the instructions reaches that far up there.
  DrawMoon(canvas, 596, 34, 19, 0.22f);
  DrawHills(canvas, 11);
  DrawCottage(canvas, 112, NearRidge(112) + 4);
  DrawMeadow(canvas, 23);
  return canvas;
}

Canvas DrawIntro() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSky(canvas, DuskSky());
  PaintMilkyWay(canvas, 700, 300, 120, -60, 0.12f);
  ScatterStars(canvas, 3, 300, 340);
  DrawMoon(canvas, 540, 84, 34, 0.3f);
  DrawTitle(canvas, 92, 150, 10);
  DrawHills(canvas, 5);
  DrawCottage(canvas, 560, NearRidge(560) + 4);
  DrawMeadow(canvas, 17);
  // A round in play: things falling towards the catcher on the meadow.
  DrawFalling(canvas, DrawSaucer, kSaucerSize, 470, 250, 2.5);
  DrawFalling(canvas, DrawCoin, kCoinSize, 60, 290, 2);
  DrawFalling(canvas, DrawBlackStone, kStoneSize, 250, 262, 2);
  DrawFalling(canvas, DrawHeart, kHeartSize, 395, 318, 2);
  DrawFalling(canvas, DrawWhiteStone, kStoneSize, 312, 330, 2);
  DrawCatcher(canvas, {298, 378, 2});
  return canvas;
}

}  // namespace pictures
