// The game is started in a later step; for now the program opens the game's
// screen and closes it again, which exercises the runtime end to end.
#include "game/desktop_identity.h"
#include "gfx/screen.h"

int main() {
  game::IntroduceToDesktop();
  if (rt::ScreenMode(18, 32, 2, 0, 0) != 0) return 1;
  rt::ScreenClose();
  return 0;
}
