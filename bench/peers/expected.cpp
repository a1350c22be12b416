#include "expected.h"

#include <cstdio>

#include "gfx/font.h"

namespace bench {

namespace {

constexpr std::uint32_t kColorBits = 0xFFFFFF;

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < kScreenWidth && y < kScreenHeight; }

std::uint32_t& At(Frame& frame, int x, int y) { return frame[std::size_t(y) * kScreenWidth + x]; }

// Calls draw(x, y, set) for every pixel of the glyph cells that lies on the frame.
template <class Draw>
void ForEachGlyphPixel(int left, int top, std::string_view text, Draw draw) {
  const rt::BuiltinFont& font = rt::FontByIndex(2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t* glyph = font.Glyph(static_cast<std::uint8_t>(text[i]));
    for (int row = 0; row < font.height; ++row) {
      for (int column = 0; column < rt::kFontWidth; ++column) {
        const int x = left + int(i) * rt::kFontWidth + column;
        const int y = top + row;
        if (Inside(x, y)) draw(x, y, ((glyph[row] >> column) & 1) != 0);
      }
    }
  }
}

}  // namespace

Frame FrameOf(const std::uint32_t* rows, int pitch) {
  Frame frame(std::size_t(kScreenWidth) * kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) At(frame, x, y) = rows[std::size_t(y) * pitch + x] & kColorBits;
  }
  return frame;
}

Frame FrameOf(const std::vector<std::uint32_t>& argb) { return FrameOf(argb.data(), kScreenWidth); }

void PutOpaque(Frame& frame, const std::vector<std::uint32_t>& sprite, int width, int height, int x, int y) {
  for (int sy = 0; sy < height; ++sy) {
    for (int sx = 0; sx < width; ++sx) {
      if (Inside(x + sx, y + sy))
        At(frame, x + sx, y + sy) = sprite[std::size_t(sy) * width + sx] & kColorBits;
    }
  }
}

void PutKeyed(Frame& frame, const std::vector<std::uint32_t>& sprite, int width, int height, int x, int y) {
  for (int sy = 0; sy < height; ++sy) {
    for (int sx = 0; sx < width; ++sx) {
      const std::uint32_t color = sprite[std::size_t(sy) * width + sx] & kColorBits;
      if (color != kKey && Inside(x + sx, y + sy)) At(frame, x + sx, y + sy) = color;
    }
  }
}

void DrawTextOver(Frame& frame, int x, int y, std::string_view text, std::uint32_t ink) {
  ForEachGlyphPixel(x, y, text, [&](int px, int py, bool set) {
    if (set) At(frame, px, py) = ink & kColorBits;
  });
}

void DrawTextCells(Frame& frame, int x, int y, std::string_view text, std::uint32_t ink,
                   std::uint32_t paper) {
  ForEachGlyphPixel(x, y, text,
                    [&](int px, int py, bool set) { At(frame, px, py) = (set ? ink : paper) & kColorBits; });
}

std::string Difference(const Frame& actual, const Frame& expected) {
  if (actual.size() != expected.size()) return "the result has the wrong size";
  std::size_t wrong = 0, first = 0;
  for (std::size_t i = actual.size(); i-- > 0;) {
    if (actual[i] != expected[i]) {
      ++wrong;
      first = i;
    }
  }
  if (wrong == 0) return "";
  char message[160];
  std::snprintf(message, sizeof message,
                "%zu of %zu pixels wrong, the first at (%zu, %zu): %06X, expected %06X", wrong, actual.size(),
                first % kScreenWidth, first / kScreenWidth, actual[first], expected[first]);
  return message;
}

void Fail(benchmark::State& state, const char* why) {
  state.SkipWithError(why);
  for (auto _ : state) {
  }
}

bool Verify(benchmark::State& state, const Frame& actual, const Frame& expected) {
  const std::string difference = Difference(actual, expected);
  if (!difference.empty()) Fail(state, difference.c_str());
  return difference.empty();
}

}  // namespace bench
