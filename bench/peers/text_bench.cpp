// Drawing a line of 80 characters over a picture, background transparent.
#include <string>

#include "allegro_peer.h"
#include "gfx/font.h"
#include "gfx/text.h"
#include "our_screen.h"
#include "picture.h"

namespace bench {

namespace {

constexpr int kTextX = 1;
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

// The glyph's set bits in the ink colour over the picture.
std::uint32_t ExpectedRgb(int x, int y) {
  const rt::BuiltinFont& font = rt::FontByIndex(2);
  const int column = x - kTextX;
  const auto character = static_cast<unsigned char>(Line80()[std::size_t(column / 8)]);
  const bool set = (font.glyphs[character * font.height + (y - kTextY)] >> (column % 8)) & 1;
  return set ? kInk : PictureColour(x, y);
}

// Probes across the line, on set and clear glyph bits alike.
std::vector<Probe> TextProbes() {
  // The last column of the last character falls off the 640-pixel screen.
  std::vector<Probe> probes = ProbesIn(kTextX, kTextY, kScreenWidth - kTextX, 16);
  for (int i = 0; i < 80; i += 7) probes.push_back({kTextX + i * 8 + 3, kTextY + 3 + i % 10});
  return probes;
}

void DrawStringOurs(benchmark::State& state) {
  OurScreen screen;
  screen.FillWithPicture();
  rt::Color(0xFF000000u | kInk, 0, 2);
  for (auto _ : state) rt::DrawString(nullptr, kTextX, kTextY, 4 | rt::kColorNotGiven, Line80());
  CheckPixels(
      state, TextProbes(), [&](int x, int y) { return screen.Pixel(x, y) & 0xFFFFFF; }, ExpectedRgb);
}
BENCHMARK(DrawStringOurs)->Name("DrawString_80/ours");

void DrawStringAllegro(benchmark::State& state) {
  const char* why = "";
  if (!allegro::Start(why)) return state.SkipWithError(why);
  BITMAP* target = allegro::CreateBitmap(kScreenWidth, kScreenHeight);
  allegro::Fill(target, PictureArgb().data());
  for (auto _ : state) allegro::Textout(target, Line80().c_str(), kTextX, kTextY, kInk);
  CheckPixels(
      state, TextProbes(), [&](int x, int y) { return allegro::PixelRgb(target, x, y); }, ExpectedRgb);
  allegro::DestroyBitmap(target);
}
BENCHMARK(DrawStringAllegro)->Name("DrawString_80/allegro_textout_ex");

}  // namespace

}  // namespace bench
