// Drawing a line of 80 characters over a picture, background transparent.
#include <string>

#include "allegro_peer.h"
#include "gfx/text.h"
#include "our_screen.h"

namespace bench {

namespace {

constexpr int kTextX = 1;  // so the last column of the last character falls off the screen
constexpr int kTextY = 17;
constexpr std::uint32_t kInk = 0xFFFFFF;

const std::string& Line80() {
  static const std::string line = [] {
    std::string s =
        "Leben:  3  Steine:  27   Punkte:  4815  Level:  4   Gr\x81\xE1"
        "e aus M\x81nchen \x8E\x99\x9A! ";
    while (s.size() < 80) s += char('0' + s.size() % 10);
    return s.substr(0, 80);
  }();
  return line;
}

const Frame& Written() {
  static const Frame frame = [] {
    Frame f = FrameOf(PictureArgb());
    DrawTextOver(f, kTextX, kTextY, Line80(), kInk);
    return f;
  }();
  return frame;
}

void DrawStringOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  rt::Color(0xFF000000u | kInk, 0, 2);
  auto draw = [] { return rt::DrawString(nullptr, kTextX, kTextY, 4 | rt::kColorNotGiven, Line80()); };
  if (draw() != 0) return Fail(state, "DrawString failed");
  if (!Verify(state, screen.Pixels(), Written())) return;
  for (auto _ : state) draw();
}
BENCHMARK(DrawStringOurs)->Name("DrawString_80/ours");

void DrawStringAllegro(benchmark::State& state) {
  const char* why = "";
  if (!allegro::Start(why)) return Fail(state, why);
  BITMAP* target = allegro::CreateBitmap(kScreenWidth, kScreenHeight);
  allegro::Fill(target, PictureArgb().data());
  allegro::Textout(target, Line80().c_str(), kTextX, kTextY, kInk);
  if (Verify(state, allegro::Pixels(target), Written())) {
    for (auto _ : state) allegro::Textout(target, Line80().c_str(), kTextX, kTextY, kInk);
  }
  allegro::DestroyBitmap(target);
}
BENCHMARK(DrawStringAllegro)->Name("DrawString_80/allegro_textout_ex");

}  // namespace

}  // namespace bench
