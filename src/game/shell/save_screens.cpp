#include "game/failure_notice.h"
#include "game/round/objects.h"
#include "game/shell/save_file.h"
#include "game/shell/shell.h"
#include "game/shell/shell_texts.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/timing.h"

namespace game {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0;

// The notices stand over the menu, which stays on the screen meanwhile.
constexpr int kNoticeX = 50;
constexpr int kHeadingY = 90;
constexpr int kOutcomeY = 107;

void DrawNotice(int y, const std::string& text) {
  rt::DrawString(nullptr, kNoticeX, y, rt::kAbsoluteInForeground, text);
}

void SleepSeconds(int count) {
  for (int i = 0; i < count; ++i) rt::SleepMs(1000);
}

NextScreen ReportNothingSaved() {
  rt::WindowTitle(shell_text::kNothingSavedTitle);
  rt::Color(kRed, kRed);
  DrawNotice(kOutcomeY, shell_text::kNothingSaved);
  rt::Color(kWhite, kBlack);
  SleepSeconds(4);
  rt::Cls();
  return NextScreen::Menu;
}

// Red digits 3, 2, 1 in the middle of the left half, a second each.
void CountDown() {
  rt::Color(kRed, 0, rt::kColorBackgroundOmitted);
  for (const char* digit : {"3", "2", "1"}) {
    rt::Locate(20, 20);
    rt::Print(digit);
    rt::SleepMs(1000);
  }
  rt::Color(kWhite, kBlack);
}

}  // namespace

NextScreen SaveGame(Shell& shell) {
  DrawNotice(kHeadingY, shell_text::kSaving);
  rt::WindowTitle(shell_text::kSaveTitle);
  const bool saved = WriteSaveFile(shell.saveFilePath, shell.state);
  rt::SleepMs(300);
  if (saved) {
    shell.savedGameEnded = false;
    DrawNotice(kOutcomeY, shell_text::kSaved);
  } else {
    DrawFailure(kNoticeX, kOutcomeY, shell_text::kSaveFailed);
  }
  SleepSeconds(3);
  return NextScreen::Menu;
}

NextScreen LoadGame(Shell& shell) {
  rt::WindowTitle(shell_text::kLoadTitle);
  DrawNotice(kHeadingY, shell_text::kLoading);
  // The game in a file that could not be cleared when it ended is no game to resume.
  if (shell.savedGameEnded) {
    ClearSavedFields(shell.state);
  } else {
    ReadSaveFile(shell.saveFilePath, shell.state);
  }
  rt::SleepMs(300);
  if (shell.state.objectY == 0) return ReportNothingSaved();
  DrawNotice(kOutcomeY, shell_text::kLoaded);
  rt::SleepMs(1000);
  CountDown();
  PrepareObject(shell.state);
  return NextScreen::Round;
}

}  // namespace game
