// Allegro 4 as a peer, behind plain functions so that its macros stay in one
// source file. It runs without a display (system driver "none") at 32 bits.
#pragma once

#include <cstdint>

struct BITMAP;

namespace bench::allegro {

// Installs Allegro once; false (with the reason in `why`) when it cannot run.
bool Start(const char*& why);

BITMAP* CreateBitmap(int width, int height);
void DestroyBitmap(BITMAP* bitmap);
// Fills the bitmap from 0xAARRGGBB rows; the key colour becomes Allegro's mask colour.
void Fill(BITMAP* bitmap, const std::uint32_t* argb);
// The colour at (x, y) as 0xRRGGBB.
std::uint32_t PixelRgb(BITMAP* bitmap, int x, int y);

BITMAP* LoadBmp(const char* path);
void Blit(BITMAP* source, BITMAP* target, int x, int y);
void MaskedBlit(BITMAP* source, BITMAP* target, int x, int y);
// Draws bytes with the 8 x 16 font in `rgb` over a transparent background.
void Textout(BITMAP* target, const char* text, int x, int y, std::uint32_t rgb);

}  // namespace bench::allegro
