#include "game/assets.h"
#include "game/controls.h"
#include "game/failure_notice.h"
#include "game/scancodes.h"
#include "game/shell/highscore.h"
#include "game/shell/save_file.h"
#include "game/shell/shell.h"
#include "game/shell/shell_texts.h"
#include "gfx/bmp.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/line_input.h"
#include "input/timing.h"
#include "rt/file_channels.h"
#include "rt/strings.h"

namespace game {
namespace {

void ClearToIntro() {
  rt::Cls();
  rt::Bload(kIntroPicture);
}

// The typed line becomes the input source; its first item is the name.
std::string AskName() {
  rt::InputLine(shell_text::kNamePrompt, false, true);
  std::string name;
  rt::FileInputString(name);
  return name;
}

void HoldGameOverNotice() {
  for (int i = 0; i < 140; ++i) rt::SleepMs(1);
  for (int delayMs : {1000, 3000, 1000, 5000}) rt::SleepMs(delayMs);
}

NextScreen DeleteHighscore(Shell& shell) {
  const bool deleted = WriteHighscore(shell.highscoreFilePath, {0, rt::DateString(), 0, "-"});
  ClearToIntro();
  if (deleted) {
    rt::WindowTitle(shell_text::kRecordDeletedTitle);
    rt::Print(shell_text::kDeleted);
  } else {
    PrintFailure(shell_text::kDeleteFailed);
  }
  for (int delayMs : {1000, 1000, 300}) rt::SleepMs(delayMs);
  return NextScreen::Menu;
}

void WaitForViewKey() {
  rt::SleepMs(3);
  while (!Held(scancode::kSpace) && !Held(scancode::kDelete) && !Held(scancode::kEsc)) rt::SleepMs(1);
}

}  // namespace

NextScreen GameOver(Shell& shell) {
  const GameState& game = shell.state;
  rt::Cls();
  rt::WindowTitle(shell_text::kGameOverTitle);
  HighscoreRecord record = ReadHighscore(shell.highscoreFilePath);
  rt::Bload(kIntroPicture);
  rt::Print(shell_text::kLost);
  rt::Print(shell_text::kYouCaughtPrefix + rt::StrFromInt(game.stones) + shell_text::kYouCaughtMiddle +
            rt::StrFromInt(game.points) + shell_text::kYouCaughtSuffix);
  rt::Print(RecordLine(record));
  const bool newRecord = game.points > record.bestPoints;
  if (newRecord) record.bestPoints = game.points;
  if (game.stones > record.bestStones) record.bestStones = game.stones;
  if (newRecord) {
    rt::WindowTitle(shell_text::kNewRecordTitle);
    record.bestName = AskName();
    record.bestDate = rt::DateString();
  }
  const bool recordWritten = WriteHighscore(shell.highscoreFilePath, record);
  rt::Print(NewRecordLine(ReadHighscore(shell.highscoreFilePath)));
  if (!recordWritten) PrintFailure(shell_text::kRecordWriteFailed);
  shell.savedGameEnded = !ClearSaveFile(shell.saveFilePath);
  if (shell.savedGameEnded) PrintFailure(shell_text::kSaveClearFailed);
  HoldGameOverNotice();
  return NextScreen::Menu;
}

NextScreen ShowHighscore(Shell& shell) {
  ClearToIntro();
  rt::Print(RecordLine(ReadHighscore(shell.highscoreFilePath)));
  rt::Print(shell_text::kBackHint);
  rt::Print(shell_text::kDeleteHint);
  for (;;) {
    WaitForViewKey();
    rt::SleepMs(100);
    if (Held(scancode::kSpace) || Held(scancode::kEsc)) {
      rt::SleepMs(300);
      return NextScreen::Menu;
    }
    if (Held(scancode::kDelete)) return DeleteHighscore(shell);
    // The key was let go during the pause: wait for the next one.
  }
}

}  // namespace game
