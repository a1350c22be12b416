// The game is started in a later step; for now the program opens the game's
// screen and closes it again, which exercises the runtime end to end.
#include "gfx/screen.h"

int main() {
  if (rt::ScreenMode(18, 32, 2, 0, 0) != 0) return 1;
  rt::ScreenClose();
  return 0;
}
