#include "allegro_peer.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "gfx/font.h"

namespace bench::allegro {

namespace {

// Allegro's mono glyphs hold the leftmost pixel in the high bit; ours in bit 0.
std::uint8_t Reversed(std::uint8_t bits) {
  std::uint8_t out = 0;
  for (int i = 0; i < 8; ++i) out |= ((bits >> i) & 1) << (7 - i);
  return out;
}

// Our 8 x 16 font as an Allegro mono font, so both draw the same glyphs.
FONT* Font8x16() {
  static FONT* font = [] {
    const rt::BuiltinFont& source = rt::FontByIndex(2);
    static std::vector<FONT_GLYPH*> glyphs(256);
    for (int c = 0; c < 256; ++c) {
      auto* glyph = static_cast<FONT_GLYPH*>(std::malloc(sizeof(FONT_GLYPH) + std::size_t(source.height)));
      glyph->w = 8;
      glyph->h = short(source.height);
      for (int r = 0; r < source.height; ++r) glyph->dat[r] = Reversed(source.glyphs[c * source.height + r]);
      glyphs[std::size_t(c)] = glyph;
    }
    static FONT_MONO_DATA data{0, 256, glyphs.data(), nullptr};
    static FONT made{&data, source.height, font_vtable_mono};
    return &made;
  }();
  return font;
}

}  // namespace

bool Start(const char*& why) {
  static int result = [] {
    set_uformat(U_ASCII);  // bytes are characters, as code page 437 text is
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) return -1;
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL);
    return 0;
  }();
  why = result == 0 ? "" : "install_allegro(SYSTEM_NONE) failed";
  return result == 0;
}

BITMAP* CreateBitmap(int width, int height) { return create_bitmap(width, height); }

void DestroyBitmap(BITMAP* bitmap) { destroy_bitmap(bitmap); }

void Fill(BITMAP* bitmap, const std::uint32_t* argb) {
  for (int y = 0; y < bitmap->h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(bitmap->line[y]);
    for (int x = 0; x < bitmap->w; ++x) {
      const std::uint32_t c = argb[std::size_t(y) * bitmap->w + x];
      row[x] = (c & 0xFFFFFF) == 0xFF00FF
                   ? std::uint32_t(bitmap_mask_color(bitmap))
                   : std::uint32_t(makecol32((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    }
  }
}

Frame Pixels(BITMAP* bitmap) {
  Frame frame(std::size_t(kScreenWidth) * kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const int c = getpixel(bitmap, x, y);
      frame[std::size_t(y) * kScreenWidth + x] = std::uint32_t(getr32(c) << 16 | getg32(c) << 8 | getb32(c));
    }
  }
  return frame;
}

BITMAP* LoadBmp(const char* path) { return load_bmp(path, nullptr); }

void Blit(BITMAP* source, BITMAP* target, int x, int y) {
  blit(source, target, 0, 0, x, y, source->w, source->h);
}

void MaskedBlit(BITMAP* source, BITMAP* target, int x, int y) {
  masked_blit(source, target, 0, 0, x, y, source->w, source->h);
}

RLE_SPRITE* MakeRleSprite(BITMAP* source) { return get_rle_sprite(source); }

void DestroyRleSprite(RLE_SPRITE* sprite) { destroy_rle_sprite(sprite); }

void DrawRleSprite(RLE_SPRITE* sprite, BITMAP* target, int x, int y) {
  draw_rle_sprite(target, sprite, x, y);
}

void Clear(BITMAP* bitmap, std::uint32_t rgb) {
  clear_to_color(bitmap, makecol32((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

void Textout(BITMAP* target, const char* text, int x, int y, std::uint32_t rgb) {
  textout_ex(target, Font8x16(), text, x, y, makecol32((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF),
             -1);
}

}  // namespace bench::allegro
