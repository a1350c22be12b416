#include "game/round/texts.h"

#include "rt/codepage.h"

namespace game::text {

using rt::Cp437;
using rt::Windows1252;

const std::string kPlayTitlePrefix = Windows1252("Spiel - Level ");
const std::string kTitleSuffix = Windows1252(" | Morvanta");
const std::string kPausedTitle = Windows1252("Spiel angehalten | Morvanta");

const std::string kLivesLabel = Cp437("Leben:  ");
const std::string kStonesLabel = Cp437("  Steine:  ");
const std::string kPointsLabel = Cp437("   Punkte:  ");
const std::string kLevelLabel = Cp437("  Level:  ");

const std::string kPaused = Cp437("Spiel angehalten");
const std::string kResumed = Cp437("Spiel fortgesetzt");
const std::string kUfoRepelled = Cp437("Angriff abgewehrt");
const std::string kObjectSpedUp = Cp437("Stein beschleunigt");
const std::string kMouseControlOn = Cp437("Maussteuerung aktiviert");
const std::string kMouseControlOff = Cp437("Maussteuerung deaktiviert");
const std::string kStoneCaught = Cp437("Stein gefangen - 1 Punkt hinzugefügt");
const std::string kHitByStone =
    Cp437("Du wurdest von einem Stein erschlagen! - Dir wurde ein Leben abgezogen");
const std::string kLifeCaught = Cp437("Du hast ein Leben bekommen");
const std::string kMoneyCaught = Cp437("Du hast ein Geldstück gefangen. - Dir wurden 5 Punkte hinzugefügt");
const std::string kStoneMissed = Cp437("Du hast den Stein nicht gefangen. Dir wurde ein Leben abgezogen");
const std::string kStoneDodged = Cp437("Du bist ausgewichen! - Ein Punkt dazu!");
const std::string kLifeMissed = Cp437("Schade, dass du das Leben nicht bekommen hast!");
const std::string kMoneyMissed = Cp437("Leider nicht gefangen - Leider ein Punkt abgezogen");

const std::string kLevelUpPointsSuffix = Cp437(" Punkte erreicht: Ein Leben hinzugefügt!!!");
const std::string kLevelUpNextLevel = Cp437("Du bist jetzt im nächsten Level!");
const std::string kLevelReachedSuffix = Cp437(". Level erreicht");

const std::string kScreenshotSavedPrefix = Cp437("Bildschirm als '");
const std::string kScreenshotSavedSuffix = Cp437("' in '/screenshots/' gespeichert");
const std::string kScreenshotFailed = Cp437("Screenshot fehlgeschlagen");

}  // namespace game::text
