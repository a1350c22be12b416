#pragma once

#include <string>
#include <string_view>

namespace game {

// The one highscore record of "game.hsc": the best points with the name and
// date of whoever scored them, and apart from them the most stones caught in
// any game. Texts are code page 437; the date is "MM-DD-YYYY". Always on
// file number 2.
struct HighscoreRecord {
  int bestPoints = 0;
  std::string bestDate;
  int bestStones = 0;
  std::string bestName;
};

// A missing or damaged file reads as 0 and empty texts where items lack.
HighscoreRecord ReadHighscore(std::string_view path);
// False when the file could not be written whole (it then keeps what it held).
bool WriteHighscore(std::string_view path, const HighscoreRecord& record);

// "Highscore: Punkte: …" and "Neue Highscore: Punkte: …" as the screens show them.
std::string RecordLine(const HighscoreRecord& record);
std::string NewRecordLine(const HighscoreRecord& record);

}  // namespace game
