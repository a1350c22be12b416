#include "pictures/sprites.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pictures {
namespace {

constexpr double kPi = 3.14159265358979;

// Light falls from the upper left, slightly towards the viewer.
struct Light {
  double x = -0.45, y = -0.65, z = 0.61;
};

// Lambert shading of a bulge whose outline is the ellipse (rx, ry) around
// (cx, cy): the point's normal is that of a half ellipsoid.
double Bulge(double x, double y, double cx, double cy, double rx, double ry) {
  const double nx = (x - cx) / rx;
  const double ny = (y - cy) / ry;
  const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
  const Light l;
  return std::max(0.0, nx * l.x + ny * l.y + nz * l.z);
}

double Specular(double lambert, double power) { return std::pow(lambert, power); }

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double dx = (x - cx) / rx;
  const double dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

// A pebble's outline: an ellipse with a gentle wobble.
bool InPebble(double x, double y, double grow) {
  const double dx = x - 10.0;
  const double dy = y - 10.6;
  const double angle = std::atan2(dy, dx);
  const double wobble = 1.0 + 0.06 * std::sin(3 * angle + 0.7) + 0.04 * std::sin(5 * angle + 2.0);
  const double rx = 8.4 * wobble + grow;
  const double ry = 7.4 * wobble + grow;
  return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= 1.0;
}

void DrawSpeck(Canvas& canvas, const Transform& where, double x, double y, double r, Rgba color) {
  canvas.Fill(
      where, {x - r, y - r, x + r, y + r},
      [=](double px, double py) { return InEllipse(px, py, x, y, r, r); }, color);
}

}  // namespace

void DrawWhiteStone(Canvas& canvas, const Transform& where) {
  const Box box{0, 0, 20, 20};
  canvas.Fill(
      where, box, [](double x, double y) { return InPebble(x, y, 1.1); }, Hex(0x23283a));
  canvas.Fill(
      where, box, [](double x, double y) { return InPebble(x, y, 0.0); },
      [](double x, double y) {
        const double lit = Bulge(x, y, 10.0, 10.6, 9.0, 8.0);
        const Rgba body = Ramp({{0.0, Hex(0x7c8498)}, {0.45, Hex(0xc9cfdc)}, {0.85, Hex(0xf4f6fb)}}, lit);
        return Mix(body, Hex(0xffffff), Specular(lit, 12));
      });
  DrawSpeck(canvas, where, 12.6, 13.0, 0.7, Hex(0x9aa1b2));
  DrawSpeck(canvas, where, 7.0, 12.8, 0.55, Hex(0xa8afbf));
}

void DrawBlackStone(Canvas& canvas, const Transform& where) {
  // An angular rock; its corners as (angle step, radius) around the middle.
  static constexpr std::array<double, 9> kRadius{8.9, 8.1, 9.3, 7.6, 8.6, 9.1, 7.9, 8.8, 8.3};
  auto inRock = [](double x, double y, double grow) {
    const double dx = x - 10.0;
    const double dy = (y - 10.4) * 1.08;
    double angle = std::atan2(dy, dx);
    if (angle < 0) angle += 2 * kPi;
    const double step = 2 * kPi / kRadius.size();
    const std::size_t i = std::size_t(angle / step) % kRadius.size();
    // A straight edge between two corners, in polar form.
    const double r0 = kRadius[i];
    const double r1 = kRadius[(i + 1) % kRadius.size()];
    const double a0 = double(i) * step;
    const double x0 = r0 * std::cos(a0), y0 = r0 * std::sin(a0);
    const double x1 = r1 * std::cos(a0 + step), y1 = r1 * std::sin(a0 + step);
    const double ex = x1 - x0, ey = y1 - y0;
    const double ux = std::cos(angle), uy = std::sin(angle);
    const double edge = (x0 * ey - y0 * ex) / (ux * ey - uy * ex);
    return std::hypot(dx, dy) <= edge + grow;
  };
  const Box box{0, 0, 20, 20};
  canvas.Fill(
      where, box, [&](double x, double y) { return inRock(x, y, 1.1); }, Hex(0x8a93ad));
  canvas.Fill(
      where, box, [&](double x, double y) { return inRock(x, y, 0.0); },
      [](double x, double y) {
        const double lit = Bulge(x, y, 10.0, 10.4, 9.6, 9.0);
        // Flat facets: quantise the light a little.
        const double facet = std::floor(lit * 5.0) / 5.0;
        const Rgba body = Ramp({{0.0, Hex(0x0c0c12)}, {0.5, Hex(0x262832)}, {1.0, Hex(0x4a4e5e)}}, facet);
        return Mix(body, Hex(0x9aa2ba), Specular(lit, 16) * 0.8);
      });
  // A crack across the face.
  canvas.Fill(
      where, box,
      [](double x, double y) {
        const double line = 6.0 + (x - 6.0) * 0.55 + 0.8 * std::sin(x * 1.3);
        return x > 6.5 && x < 14.5 && std::abs(y - line) < 0.45;
      },
      Hex(0x050507));
}

void DrawHeart(Canvas& canvas, const Transform& where) {
  // The classic implicit heart, spanning about -1.15..1.15 by -1..1.25.
  auto inHeart = [](double x, double y, double grow) {
    const double scale = 7.0 + grow;
    const double u = (x - 10.0) / scale;
    const double v = (9.6 - y) / scale;
    const double q = u * u + v * v - 1.0;
    return q * q * q - u * u * v * v * v <= 0.0;
  };
  const Box box{0, 0, 20, 18};
  canvas.Fill(
      where, box, [&](double x, double y) { return inHeart(x, y, 1.0); }, Hex(0x3a0610));
  canvas.Fill(
      where, box, [&](double x, double y) { return inHeart(x, y, 0.0); },
      [](double x, double y) {
        const double lit = std::max(Bulge(x, y, 6.6, 7.0, 6.5, 7.5), Bulge(x, y, 13.4, 7.0, 6.5, 7.5)) * 0.6 +
                           Bulge(x, y, 10.0, 9.0, 9.5, 9.5) * 0.4;
        const Rgba body = Ramp({{0.0, Hex(0x6e0416)}, {0.5, Hex(0xc8142e)}, {0.9, Hex(0xff4d62)}}, lit);
        return Mix(body, Hex(0xffd6dc), Specular(lit, 14));
      });
  canvas.Fill(
      where, box, [](double x, double y) { return InEllipse(x, y, 6.0, 5.3, 1.9, 1.2); },
      WithAlpha(Hex(0xffffff), 0.75f));
}

void DrawCoin(Canvas& canvas, const Transform& where) {
  const Box box{0, 0, 20, 20};
  auto inCircle = [](double r) { return [r](double x, double y) { return InEllipse(x, y, 10, 10, r, r); }; };
  canvas.Fill(where, box, inCircle(9.7), Hex(0x4a2c00));
  // The rim: a bright bevel, light at the upper left.
  canvas.Fill(where, box, inCircle(8.7), [](double x, double y) {
    const double angle = std::atan2(y - 10, x - 10);
    const double lit = 0.5 - 0.5 * std::cos(angle + 2.2);
    return Ramp({{0.0, Hex(0xa8680a)}, {0.6, Hex(0xf2b82c)}, {1.0, Hex(0xfff0a0)}}, 1.0 - lit);
  });
  canvas.Fill(where, box, inCircle(6.9), [](double x, double y) {
    const double lit = Bulge(x, y, 10, 10, 11, 11);
    return Ramp({{0.3, Hex(0xc98a12)}, {0.7, Hex(0xf5c537)}, {1.0, Hex(0xffe27a)}}, lit);
  });
  // An embossed "5": the coin is worth five points.
  static constexpr std::array<const char*, 5> kFive{"###", "#..", "##.", "..#", "##."};
  auto inFive = [](double dx, double dy) {
    return [dx, dy](double x, double y) {
      const int col = int(std::floor((x - 7.0 - dx) / 2.0));
      const int row = int(std::floor((y - 5.0 - dy) / 2.0));
      return row >= 0 && row < 5 && col >= 0 && col < 3 && kFive[row][col] == '#';
    };
  };
  canvas.Fill(where, box, inFive(0.6, 0.6), Hex(0x8a5204));
  canvas.Fill(where, box, inFive(0.0, 0.0), Hex(0xfff3b8));
}

void DrawSaucer(Canvas& canvas, const Transform& where) {
  const Box box{0, 0, 24, 16};
  auto dome = [](double grow) {
    return
        [grow](double x, double y) { return y <= 8.0 && InEllipse(x, y, 12, 7.2, 5.4 + grow, 5.6 + grow); };
  };
  auto body = [](double grow) {
    return [grow](double x, double y) { return InEllipse(x, y, 12, 10.2, 11.0 + grow, 3.4 + grow); };
  };
  auto belly = [](double grow) {
    return [grow](double x, double y) { return InEllipse(x, y, 12, 12.2, 6.4 + grow, 2.4 + grow); };
  };
  const Rgba outline = Hex(0x10121c);
  canvas.Fill(where, box, dome(1.0), outline);
  canvas.Fill(where, box, body(1.0), outline);
  canvas.Fill(where, box, belly(1.0), outline);
  canvas.Fill(where, box, belly(0.0), [](double x, double y) {
    return Mix(Hex(0x3c4252), Hex(0x7a8296), Bulge(x, y, 12, 11.0, 7.0, 3.0));
  });
  canvas.Fill(where, box, body(0.0), [](double x, double y) {
    const double lit = Bulge(x, y, 12, 10.2, 11.5, 4.0);
    const Rgba metal = Ramp({{0.0, Hex(0x4c5468)}, {0.55, Hex(0xaab2c4)}, {0.9, Hex(0xe8ecf4)}}, lit);
    return Mix(metal, Hex(0xffffff), Specular(lit, 10) * 0.7);
  });
  canvas.Fill(where, box, dome(0.0), [](double x, double y) {
    const double lit = Bulge(x, y, 12, 7.2, 5.6, 5.8);
    return Ramp({{0.0, Hex(0x0e5a6e)}, {0.6, Hex(0x35c4d8)}, {1.0, Hex(0xb8f6ff)}}, lit);
  });
  canvas.Fill(
      where, box, [](double x, double y) { return InEllipse(x, y, 10.2, 4.2, 1.6, 1.0); },
      WithAlpha(Hex(0xffffff), 0.85f));
  // Running lights along the rim.
  const std::array<double, 5> lightsX{3.4, 7.6, 12.0, 16.4, 20.6};
  for (std::size_t i = 0; i < lightsX.size(); ++i) {
    DrawSpeck(canvas, where, lightsX[i], 10.9, 0.95, i % 2 ? Hex(0xff5a3c) : Hex(0xffe45a));
  }
}

void DrawCatcher(Canvas& canvas, const Transform& where) {
  const Box box{0, 0, 30, 20};
  // A wicker basket on a small cart: body narrowing downwards under a rim.
  auto inBody = [](double grow) {
    return [grow](double x, double y) {
      if (y < 5.0 - grow || y > 16.2 + grow) return false;
      const double inset = (y - 5.0) * 0.26;
      return x >= 1.2 + inset - grow && x <= 28.8 - inset + grow;
    };
  };
  auto inRim = [](double grow) {
    return [grow](double x, double y) {
      const double cy = 4.6, half = 1.9 + grow;
      if (y < cy - half || y > cy + half) return false;
      const double r = half;
      const double cx = std::clamp(x, 0.6 + r, 29.4 - r);
      return std::hypot(x - cx, y - cy) <= r;
    };
  };
  auto inWheel = [](double cx, double r) {
    return [cx, r](double x, double y) { return InEllipse(x, y, cx, 17.3, r, r); };
  };
  const Rgba outline = Hex(0x241004);
  canvas.Fill(where, box, inBody(0.9), outline);
  canvas.Fill(where, box, inRim(0.9), outline);
  canvas.Fill(where, box, inWheel(8.0, 3.1), Hex(0x101014));
  canvas.Fill(where, box, inWheel(22.0, 3.1), Hex(0x101014));
  canvas.Fill(where, box, inBody(0.0), [](double x, double y) {
    // Round like a barrel across, woven in rows and staves.
    const double across = 1.0 - std::abs((x - 15.0) / 15.0);
    const double row = std::fmod(y - 5.0, 2.8) / 2.8;
    const double stave = std::fmod(x + (int((y - 5.0) / 2.8) % 2) * 1.5, 3.0) / 3.0;
    const double weave = (row < 0.22 ? 0.35 : 0.0) + (stave < 0.18 ? 0.25 : 0.0);
    const Rgba wood = Ramp({{0.0, Hex(0x6a3410)}, {0.6, Hex(0xc06c24)}, {1.0, Hex(0xeaa050)}}, across * 0.9);
    return Mix(wood, Hex(0x3a1806), weave);
  });
  canvas.Fill(where, box, inRim(0.0), [](double, double y) {
    return Ramp({{2.8, Hex(0xffe0a0)}, {4.6, Hex(0xd89848)}, {6.4, Hex(0x8a4e18)}}, y);
  });
  for (double cx : {8.0, 22.0}) {
    canvas.Fill(where, box, inWheel(cx, 2.3), [cx](double x, double y) {
      return Mix(Hex(0x30323c), Hex(0x8890a4), Bulge(x, y, cx, 17.3, 2.6, 2.6));
    });
    DrawSpeck(canvas, where, cx, 17.3, 0.8, Hex(0xd8dce6));
  }
}

}  // namespace pictures
