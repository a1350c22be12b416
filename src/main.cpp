#include "game/desktop_identity.h"
#include "game/shell/shell.h"

int main() {
  game::IntroduceToDesktop();
  return game::RunMorvanta();
}
