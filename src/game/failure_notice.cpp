#include "game/failure_notice.h"

#include "gfx/text.h"

namespace game {

void DrawFailure(int x, int y, const std::string& text) {
  rt::DrawString(nullptr, x, y, 4, text, kFailureColor);
}

void PrintFailure(const std::string& text) {
  constexpr std::uint32_t kWhite = 0xFFFFFF;
  rt::Color(kFailureColor, 0, rt::kColorBackgroundOmitted);
  rt::Print(text);
  rt::Color(kWhite, 0, rt::kColorBackgroundOmitted);
}

}  // namespace game
