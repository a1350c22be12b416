#pragma once

#include "pictures/canvas.h"

// The game's sprites as drawings in their own pixel units, so that the same
// drawing makes the sprite file (scale 1) and the decoration of the title
// picture (larger scales).
namespace pictures {

struct SpriteSize {
  int width;
  int height;
};

inline constexpr SpriteSize kStoneSize{20, 20};
inline constexpr SpriteSize kHeartSize{20, 18};
inline constexpr SpriteSize kCoinSize{20, 20};
inline constexpr SpriteSize kSaucerSize{24, 16};
// The catch box is 30 pixels wide; the catcher shows exactly that.
inline constexpr SpriteSize kCatcherSize{30, 20};

void DrawWhiteStone(Canvas& canvas, const Transform& where);
void DrawBlackStone(Canvas& canvas, const Transform& where);
void DrawHeart(Canvas& canvas, const Transform& where);
void DrawCoin(Canvas& canvas, const Transform& where);
void DrawSaucer(Canvas& canvas, const Transform& where);
// The cart only; its file fills the corners around it with the ground.
void DrawCatcher(Canvas& canvas, const Transform& where);

}  // namespace pictures
