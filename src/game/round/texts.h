#pragma once

#include <string>

// The game's texts. They are written in UTF-8 in texts.cpp and converted there,
// once, to the bytes the game uses: code page 437 for everything drawn on the
// screen, Windows-1252 for window titles.
namespace game::text {

// Window titles (Windows-1252).
extern const std::string kPlayTitlePrefix;  // followed by the level
extern const std::string kTitleSuffix;      // " | Morvanta"
extern const std::string kPausedTitle;

// Status line labels.
extern const std::string kLivesLabel;
extern const std::string kStonesLabel;
extern const std::string kPointsLabel;
extern const std::string kLevelLabel;

// Messages of the round.
extern const std::string kPaused;
extern const std::string kResumed;
extern const std::string kUfoRepelled;
extern const std::string kObjectSpedUp;
extern const std::string kMouseControlOn;
extern const std::string kMouseControlOff;
extern const std::string kStoneCaught;
extern const std::string kHitByStone;
extern const std::string kLifeCaught;
extern const std::string kMoneyCaught;
extern const std::string kStoneMissed;
extern const std::string kStoneDodged;
extern const std::string kLifeMissed;
extern const std::string kMoneyMissed;

// The level-up notice and the message after it.
extern const std::string kLevelUpPointsSuffix;  // after the score
extern const std::string kLevelUpNextLevel;
extern const std::string kLevelReachedSuffix;  // after the new level

// Screenshots.
extern const std::string kScreenshotSavedPrefix;  // followed by the file name
extern const std::string kScreenshotSavedSuffix;
extern const std::string kScreenshotFailed;  // shown in red

}  // namespace game::text
