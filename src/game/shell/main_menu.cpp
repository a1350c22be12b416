#include <array>

#include "game/assets.h"
#include "game/controls.h"
#include "game/scancodes.h"
#include "game/shell/shell.h"
#include "game/shell/shell_texts.h"
#include "gfx/bmp.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/timing.h"

namespace game {
namespace {

constexpr int kPollSleepMs = 3;

void DrawMenu() {
  rt::ScreenLock();
  rt::Cls();
  rt::WindowTitle(shell_text::kMenuTitle);
  rt::Bload(kIntroPicture);
  for (const auto& line : shell_text::kMenuLines)
    rt::DrawString(nullptr, 1, line.y, rt::kAbsoluteInForeground, line.text);
  rt::ScreenUnlock(-1, -1);
}

// The commands in the order they are tested; the first that holds acts.
// The close test takes a typed key on every pass, so keys typed at the menu
// are dropped one per pass.
struct Command {
  bool (*holds)();
  NextScreen next;
};
const std::array<Command, 7> kCommands{{
    {[] { return Held(scancode::kSpace) || Held(scancode::kF2); }, NextScreen::NewGame},
    {[] { return Held(scancode::kF1); }, NextScreen::Instructions},
    {[] { return Held(scancode::kEsc); }, NextScreen::Exit},
    {CloseRequested, NextScreen::Exit},
    {[] { return Held(scancode::kS); }, NextScreen::SaveGame},
    {[] { return Held(scancode::kF); }, NextScreen::LoadGame},
    {[] { return Held(scancode::kH); }, NextScreen::Highscore},
}};

}  // namespace

NextScreen MainMenu(Shell&) {
  DrawMenu();
  rt::SleepMs(kPollSleepMs);
  for (;;) {
    for (const Command& command : kCommands) {
      if (command.holds()) {
        if (command.next == NextScreen::NewGame) rt::Cls();
        return command.next;
      }
      rt::SleepMs(kPollSleepMs);
    }
  }
}

}  // namespace game
