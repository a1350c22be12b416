#pragma once

#include <cstdint>
#include <string>

namespace game {

// A write of the game's that failed is told on the screen in a short German
// text in red, as the menu's "Speichern fehlgeschlagen".
inline constexpr std::uint32_t kFailureColor = 0xFF0000;

// Over whatever the screen shows, with its top-left corner at (x, y).
void DrawFailure(int x, int y, const std::string& text);
// At the text cursor, as a line of a screen made of printed lines; the
// foreground is white again afterwards, as the shell keeps it.
void PrintFailure(const std::string& text);

}  // namespace game
