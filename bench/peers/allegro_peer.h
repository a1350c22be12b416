// Allegro 4 as a peer, behind plain functions so that its macros stay in one
// source file. It runs without a display (system driver "none") at 32 bits.
#pragma once

#include <cstdint>

#include "expected.h"

struct BITMAP;
struct RLE_SPRITE;

namespace bench::allegro {

// Installs Allegro once; false (with the reason in `why`) when it cannot run.
bool Start(const char*& why);

BITMAP* CreateBitmap(int width, int height);
void DestroyBitmap(BITMAP* bitmap);
// Fills the bitmap from 0xAARRGGBB rows; the key color becomes Allegro's mask color.
void Fill(BITMAP* bitmap, const std::uint32_t* argb);
// A 640 x 480 bitmap's pixels.
Frame Pixels(BITMAP* bitmap);

BITMAP* LoadBmp(const char* path);
void Blit(BITMAP* source, BITMAP* target, int x, int y);
void MaskedBlit(BITMAP* source, BITMAP* target, int x, int y);
// Allegro's run-length sprites: the mask color's runs are skipped, not tested.
RLE_SPRITE* MakeRleSprite(BITMAP* source);
void DestroyRleSprite(RLE_SPRITE* sprite);
void DrawRleSprite(RLE_SPRITE* sprite, BITMAP* target, int x, int y);
void Clear(BITMAP* bitmap, std::uint32_t rgb);
// Draws bytes with the 8 x 16 font in `rgb` over a transparent background.
void Textout(BITMAP* target, const char* text, int x, int y, std::uint32_t rgb);

}  // namespace bench::allegro
