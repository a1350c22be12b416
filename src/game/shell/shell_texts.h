#pragma once

#include <array>
#include <string>

// The texts of the menu and of every screen outside a round. They are written
// in UTF-8 in shell_texts.cpp and converted there, once, to the bytes the game
// uses: code page 437 on the screen, Windows-1252 in window titles.
namespace game::shell_text {

// Window titles (Windows-1252).
extern const std::string kMenuTitle;
extern const std::string kSaveTitle;
extern const std::string kLoadTitle;
extern const std::string kNothingSavedTitle;
extern const std::string kGameOverTitle;
extern const std::string kNewRecordTitle;
extern const std::string kRecordDeletedTitle;
extern const std::string kInstructionsTitle;

// A line of text drawn at a pixel row, left edge at x 1.
struct PlacedLine {
  int y;
  std::string text;
};

// The menu over the title picture.
extern const std::array<PlacedLine, 6> kMenuLines;

// Saving and loading, drawn over the menu.
extern const std::string kSaving;
extern const std::string kSaved;
extern const std::string kSaveFailed;
extern const std::string kLoading;
extern const std::string kLoaded;
extern const std::string kNothingSaved;

// Game over and the highscore.
extern const std::string kLost;
extern const std::string kYouCaughtPrefix;  // stones follow
extern const std::string kYouCaughtMiddle;  // points follow
extern const std::string kYouCaughtSuffix;
extern const std::string kRecordPrefix;
extern const std::string kNewRecordPrefix;
extern const std::string kRecordName;
extern const std::string kRecordDate;
extern const std::string kRecordStones;
extern const std::string kNamePrompt;
extern const std::string kBackHint;
extern const std::string kDeleteHint;
extern const std::string kDeleted;
// Writes that failed, in red.
extern const std::string kRecordWriteFailed;
extern const std::string kSaveClearFailed;
extern const std::string kDeleteFailed;

// The instructions page over the night picture.
extern const std::array<PlacedLine, 19> kInstructionLines;

}  // namespace game::shell_text
