#include "game/round/rules.h"

#include <string>

#include "game/round/texts.h"

namespace game {

namespace {

struct Rule {
  ObjectKind kind;
  int stones;
  int points;
  int lives;
  const std::string* message;
};

// At the catch line, for an object inside the catch box.
const Rule kCatchRules[] = {
    {ObjectKind::WhiteStone, +1, +1, 0, &text::kStoneCaught},
    {ObjectKind::BlackStone, 0, 0, -1, &text::kHitByStone},
    {ObjectKind::Heart, 0, 0, +1, &text::kLifeCaught},
    {ObjectKind::Money, +1, +5, 0, &text::kMoneyCaught},
};

// One pixel past the catch line: the object was not taken on it.
const Rule kMissRules[] = {
    {ObjectKind::WhiteStone, 0, 0, -1, &text::kStoneMissed},
    {ObjectKind::BlackStone, 0, +1, 0, &text::kStoneDodged},
    {ObjectKind::Heart, 0, 0, 0, &text::kLifeMissed},
    {ObjectKind::Money, 0, -1, 0, &text::kMoneyMissed},
};

void Apply(GameState& state, const Rule& rule) {
  state.stones += rule.stones;
  state.points += rule.points;
  state.lives += rule.lives;
  state.message = *rule.message;
}

}  // namespace

bool InCatchBox(const GameState& state) {
  const long long offset = static_cast<long long>(state.objectX) - state.catcherX;
  return offset > -1 && offset < kCatchBoxWidth;
}

bool JudgeCatch(GameState& state) {
  if (state.objectY != kCatchLineY || !InCatchBox(state)) return false;
  for (const Rule& rule : kCatchRules) {
    if (state.objectKind == Code(rule.kind)) {
      Apply(state, rule);
      return true;
    }
  }
  return false;
}

bool JudgeMiss(GameState& state, ObjectKind kind) {
  if (state.objectY != kPassedY || state.objectKind != Code(kind)) return false;
  for (const Rule& rule : kMissRules) {
    if (rule.kind == kind) {
      Apply(state, rule);
      return true;
    }
  }
  return false;
}

}  // namespace game
