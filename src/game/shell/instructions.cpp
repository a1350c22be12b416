#include "game/assets.h"
#include "game/shell/shell.h"
#include "game/shell/shell_texts.h"
#include "gfx/bmp.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/timing.h"

namespace game {

NextScreen ShowInstructions(Shell&) {
  rt::Cls();
  rt::WindowTitle(shell_text::kInstructionsTitle);
  rt::Bload(kBackgroundPicture);
  for (const auto& line : shell_text::kInstructionLines) {
    rt::DrawString(nullptr, 1, line.y, rt::kAbsoluteInForeground, line.text);
  }
  // The first wait usually ends at once: the F1 press that opened the page
  // is still pending. The page then stands until the next key.
  rt::SleepMs(-1);
  rt::SleepMs(1000);
  rt::SleepMs(-1);
  for (int i = 0; i < 10; ++i) rt::SleepMs(1);
  rt::SleepMs(400);
  rt::Cls();
  return NextScreen::Menu;
}

}  // namespace game
