#include "game/shell/shell_texts.h"

#include "rt/codepage.h"

namespace game::shell_text {

using rt::Cp437;
using rt::Windows1252;

const std::string kMenuTitle = Windows1252("Menü | Morvanta");
const std::string kSaveTitle = Windows1252("Spiel speichern | Morvanta");
const std::string kLoadTitle = Windows1252("Spiel laden | Morvanta");
const std::string kNothingSavedTitle = Windows1252("Kein gespeichertes Spiel gefunden | Morvanta");
const std::string kGameOverTitle = Windows1252("Leider Verloren | Morvanta");
const std::string kNewRecordTitle = Windows1252("Neue Highscore | Morvanta");
const std::string kRecordDeletedTitle = Windows1252("Highscore gelöscht | Morvanta");
const std::string kInstructionsTitle = Windows1252("Anleitung | Morvanta");

const std::array<PlacedLine, 6> kMenuLines{{
    {1, Cp437("Herzlich Willkommen")},
    {17, Cp437("Drücke F1 für die Anleitung")},
    {34, Cp437("Drücke Leertaste zum Starten")},
    {51, Cp437("Drücke S um das Spiel zu speichern")},
    {68, Cp437("Drücke F um ein gespeichertes Spiel fortzusetzten")},
    {85, Cp437("Drücke H um die Highscore anzusehen")},
}};

const std::string kSaving = Cp437("Speichern");
const std::string kSaved = Cp437("Gespeichert");
const std::string kSaveFailed = Cp437("Speichern fehlgeschlagen");
const std::string kLoading = Cp437("Laden");
const std::string kLoaded = Cp437("Geladen");
const std::string kNothingSaved = Cp437("Kein Spiel gespeichert");

const std::string kLost = Cp437("Leider Verloren!");
const std::string kYouCaughtPrefix = Cp437("Du hast aber ");
const std::string kYouCaughtMiddle = Cp437(" Steine gefangen und ");
const std::string kYouCaughtSuffix = Cp437(" Punkte geholt!");
const std::string kRecordPrefix = Cp437("Highscore: Punkte: ");
const std::string kNewRecordPrefix = Cp437("Neue Highscore: Punkte: ");
const std::string kRecordName = Cp437(" Name: ");
const std::string kRecordDate = Cp437(" Tag: ");
const std::string kRecordStones = Cp437(" | beste Steine: ");
const std::string kNamePrompt = Cp437("Dein Name bitte: ");
const std::string kBackHint = Cp437("Leer drücken um zurückzukehren, ");
const std::string kDeleteHint = Cp437("ENTF. UM DIE HIGHSCORE ZU LÖSCHEN!");
const std::string kDeleted = Cp437("Gelöscht");
const std::string kRecordWriteFailed = Cp437("Highscore speichern fehlgeschlagen");
const std::string kSaveClearFailed = Cp437("Spielstand löschen fehlgeschlagen");
const std::string kDeleteFailed = Cp437("Löschen fehlgeschlagen");

// Trailing spaces and the double space are part of the page as it stands.
const std::array<PlacedLine, 19> kInstructionLines{{
    {1, Cp437("Sammle die weißen Steine. Für jeden bekommst du einen Punkt.")},
    {17, Cp437("Sammle die Geldstücke, sie geben 5 Punkte.")},
    {34, Cp437("Sammle die Herzen um ein Leben zu erhalten. ")},
    {51, Cp437("Sollltest du etwas nicht fangen, wird dir ein Leben abgezogen.")},
    {68, Cp437("Solltest du einen Stein fangen wird dir ein Leben abgezogen, weiche ihm aus, um")},
    {85, Cp437("1 Punkt zu erhalten.")},
    {102, Cp437("Steuern tust du deinen Fänger mit den Pfeiltasten oder mit der Maus, in dem ")},
    {119, Cp437("du die linke Taste drückst und sie bewegst.")},
    {136, Cp437("Um die Steine schneller herunterfallen zu lassen, drücke die Pfeiltaste nach")},
    {153, Cp437("unten oder drehe das Mausrad.")},
    {170, Cp437("Wenn du 10, 20, 50, 100 oder 250 Punkte gesammelt hast, wird dir  ein Leben ")},
    {187, Cp437("geschenkt.")},
    {204, Cp437("Wenn du ein Spiel nicht zu Ende spielen kannst, drücke ESC und dann im Menü")},
    {221, Cp437("S, um es zu speichern. Um es wieder zu laden, drücke im Menu F und es wird")},
    {238, Cp437("fortgesetzt. Du kannst einen Screenshot vom Bildschirm nehmen, in dem du während")},
    {255, Cp437("des Spiels S drückst. Die Bilder werden im Ordner 'Screenshots' gespeichert!")},
    {272, Cp437("Wenn du besser als dein Vorgänger bist, kommst du in die Highscore.")},
    {289, Cp437("Die Punkte, das Datum & der Name sind immer vom Besten, die Steine werden extra")},
    {306, Cp437("gewertet. Es können die Steine von jemandem anders sein, die da stehen.")},
}};

}  // namespace game::shell_text
