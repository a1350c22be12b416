// A small window demo of the runtime: a ball bounces across the screen, a
// text line explains the keys, and the codes of the typed keys and the mouse
// are shown as they arrive. Esc or the window's close button ends it.
#include <cmath>
#include <cstdio>
#include <deque>
#include <string>

#include "gfx/image.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "input/timing.h"
#include "rt/codepage.h"

namespace {

constexpr int kBallSize = 40;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kYellow = 0xFFD040;
constexpr std::uint32_t kSky = 0x203050;

// A shaded ball on the transparent color, drawn pixel by pixel.
rt::ImagePtr MakeBall() {
  rt::ImagePtr ball(rt::ImageCreate(kBallSize, kBallSize));
  const rt::Surface s = rt::ImageSurface(ball.get());
  const double r = kBallSize / 2.0;
  for (int y = 0; y < kBallSize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(s.Row(y));
    for (int x = 0; x < kBallSize; ++x) {
      const double dx = x + 0.5 - r, dy = y + 0.5 - r;
      if (dx * dx + dy * dy > r * r) continue;
      const double light = std::max(0.0, 1.0 - std::hypot(dx + r / 3, dy + r / 3) / (1.6 * r));
      const auto red = std::uint32_t(120 + 135 * light), green = std::uint32_t(40 + 150 * light * light);
      row[x] = 0xFF000000u | red << 16 | green << 8 | std::uint32_t(30 + 60 * light);
    }
  }
  return ball;
}

std::string CodeText(int code) {
  char text[16];
  std::snprintf(text, sizeof text, code > 255 ? "%04X" : "%d", code);
  return text;
}

// The code of a key as Inkey returns it: one byte, or byte 255 and the high byte.
int CodeOf(const std::string& key) {
  if (key.size() == 1) return static_cast<unsigned char>(key[0]);
  return (static_cast<unsigned char>(key[1]) << 8) | 0xFF;
}

}  // namespace

int main() {
  rt::WindowTitle(rt::Windows1252("Fensterdemo – Morvanta"));
  if (rt::ScreenMode(18, 32, 2, 0, 0) != rt::ResultOk) {
    std::fputs("No window could be opened.\n", stderr);
    return 1;
  }
  const rt::ImagePtr ball = MakeBall();
  std::deque<std::string> codes;
  double x = 40, y = 120, vx = 3.2, vy = 2.1;
  for (;;) {
    std::string key;
    while (!(key = rt::Inkey()).empty()) {
      const int code = CodeOf(key);
      if (code == rt::kKeyClose) return 0;
      codes.push_back(CodeText(code));
      if (codes.size() > 12) codes.pop_front();
    }
    if (rt::Multikey(1)) return 0;

    x += vx;
    y += vy;
    if (x < 0 || x > 640 - kBallSize) vx = -vx;
    if (y < 100 || y > 480 - kBallSize) vy = -vy;

    int mouseX = 0, mouseY = 0, wheel = 0, buttons = 0;
    const bool mouse = rt::GetMouse(&mouseX, &mouseY, &wheel, &buttons) == rt::ResultOk;

    rt::ScreenLock();
    rt::Color(kWhite, kSky);
    rt::Cls();
    rt::DrawString(nullptr, 8, 8, 4,
                   rt::Cp437("Morvanta-Fensterdemo: tippen, klicken, Mausrad drehen; Esc beendet."), kYellow);
    std::string line = "Tasten:";
    for (const std::string& c : codes) line += " " + c;
    rt::DrawString(nullptr, 8, 32, 4, line, kWhite);
    const std::string pointer = mouse ? "Maus: " + std::to_string(mouseX) + ", " + std::to_string(mouseY) +
                                            "  Knöpfe " + std::to_string(buttons) + "  Rad " +
                                            std::to_string(wheel)
                                      : "Maus: außerhalb";
    rt::DrawString(nullptr, 8, 56, 4, rt::Cp437(pointer), kWhite);
    rt::Put(nullptr, x, y, ball.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutTrans);
    rt::ScreenUnlock(0, 479);
    rt::SleepMs(15);
  }
}
