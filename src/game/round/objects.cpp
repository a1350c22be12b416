#include "game/round/objects.h"

#include <cmath>
#include <string_view>

#include "game/assets.h"
#include "game/controls.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "input/random.h"

namespace game {

namespace {

constexpr int kSpawnY = 15;
constexpr int kFastFallEndY = 390;  // below this line every level falls 1 px per step

int Roll(int count) { return static_cast<int>(std::floor(rt::Rnd(1) * count)) + 1; }

bool IsOneOf(int value, std::initializer_list<int> codes) {
  for (int code : codes) {
    if (value == code) return true;
  }
  return false;
}

std::string_view SpriteOf(int kind) {
  switch (kind) {
    case Code(ObjectKind::BlackStone): return kBlackStonePicture;
    case Code(ObjectKind::Heart): return kHeartPicture;
    case Code(ObjectKind::Money): return kMoneyPicture;
    case Code(ObjectKind::Ufo): return kUfoPicture;
    default: return {};
  }
}

void LoadObjectSprite(GameState& state, std::string_view fileName) {
  state.objectImage.reset();  // the old sprite goes before the new one is read
  state.objectImage = LoadBitmapAsset(fileName);
}

}  // namespace

void SpawnObject(GameState& state) {
  state.objectY = kSpawnY;
  rt::Randomize(-1, 0);
  state.objectKind = Roll(22);
  state.objectX = Roll(600);
  PrepareObject(state);
}

// The steps run in this order, each on what the previous one left: rolls
// fold onto kinds, a saucer below level 4 becomes money, a heart becomes a
// black stone while the player has more than 2 lives.
void PrepareObject(GameState& state) {
  int& kind = state.objectKind;
  if (kind == Code(ObjectKind::Ufo) && state.level < 4) kind = Code(ObjectKind::Money);
  if (kind == Code(ObjectKind::Ufo)) state.objectX = state.catcherX + 3;
  if (IsOneOf(kind, {16, 17, 18, 19})) kind = Code(ObjectKind::Money);
  if (IsOneOf(kind, {4, 5, 6, 8, 9, 10, 11, 12, 13, 20})) kind = Code(ObjectKind::WhiteStone);
  if (kind == 21) kind = Code(ObjectKind::Heart);
  if (kind == 7) kind = Code(ObjectKind::BlackStone);
  if (kind == 14) kind = Code(ObjectKind::WhiteStone);
  if (kind == Code(ObjectKind::WhiteStone)) LoadObjectSprite(state, kWhiteStonePicture);
  if (kind == Code(ObjectKind::Heart) && state.lives > 2) kind = Code(ObjectKind::BlackStone);
  if (kind == Code(ObjectKind::BlackStone)) state.objectX = state.catcherX + 5;
  if (std::string_view sprite = SpriteOf(kind); !sprite.empty()) LoadObjectSprite(state, sprite);
}

void FallStep(GameState& state) {
  state.fallPhase += 1;
  if (state.fallPhase != 2) return;
  state.fallPhase = 0;
  state.objectY += 1;
  if (state.objectY >= kFastFallEndY) return;
  if (state.level == 3) state.objectY += 1;
  if (state.level >= 4 && state.level <= 9) state.objectY += 2;
}

bool UfoStep(GameState& state) {
  if (state.objectKind != Code(ObjectKind::Ufo)) return false;
  if (state.objectX < state.catcherX) state.objectX += 1;
  if (state.objectX > state.catcherX) state.objectX -= 1;
  if (state.objectY != kCatchLineY) return false;
  // Landing on the catcher: its left edge from objectX - 1 to objectX + 19.
  const long long offset = static_cast<long long>(state.catcherX) - state.objectX;
  if (offset < 20 && offset > -2) state.lives = 0;
  state.points += 10;
  state.message = text::kUfoRepelled;
  return true;
}

void AccelerateByWheel(GameState& state) {
  if (state.mouseWheel == state.previousWheel || state.objectY >= 370) return;
  state.objectY += 5;
  state.message = text::kObjectSpedUp;
}

void AccelerateByDownKey(GameState& state) {
  if (!Held(scancode::kDown) || state.objectY >= 395) return;
  state.objectY += 2;
  state.message = text::kObjectSpedUp;
}

}  // namespace game
