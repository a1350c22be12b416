#include "game/desktop_identity.h"
#include "game/shell.h"

int main() {
  game::IntroduceToDesktop();
  return game::RunMorvanta();
}
