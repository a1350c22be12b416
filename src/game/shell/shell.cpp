#include "game/shell/shell.h"

#include <cstdio>
#include <cstdlib>

#include "game/assets.h"
#include "game/round/round.h"
#include "game/shell/shell_texts.h"
#include "gfx/bmp.h"
#include "gfx/screen.h"
#include "input/mouse.h"
#include "input/timing.h"
#include "rt/file_channels.h"

namespace game {
namespace {

constexpr int kGameMode = 18;  // 640 x 480
constexpr int kGameDepth = 32;
constexpr int kGamePages = 2;

std::string InFolder(std::string_view folder, std::string_view fileName) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(fileName);
}

// Where the player's files go (game.sav, game.hsc, screenshots/): beside the
// executable, as in the play folder, unless the launcher of a game installed
// where the player may not write names a folder of the player's own.
std::string PlayerFolder() {
  const char* named = std::getenv("MORVANTA_PLAYER_FOLDER");
  return named && *named ? std::string(named) : rt::ExecutableFolder();
}

// One hand-over: shows `screen` and says which comes next.
NextScreen Show(Shell& shell, NextScreen screen) {
  switch (screen) {
    case NextScreen::Menu: return MainMenu(shell);
    case NextScreen::NewGame: StartNewGame(shell.state); return NextScreen::Round;
    case NextScreen::Round: return GameLoop(shell.state, shell.screenshotFolder);
    case NextScreen::GameOver: return GameOver(shell);
    case NextScreen::Instructions: return ShowInstructions(shell);
    case NextScreen::SaveGame: return SaveGame(shell);
    case NextScreen::LoadGame: return LoadGame(shell);
    case NextScreen::Highscore: return ShowHighscore(shell);
    case NextScreen::Exit: break;
  }
  return NextScreen::Exit;
}

}  // namespace

bool StartUp(Shell& shell, std::string_view playerFolder) {
  shell.saveFilePath = InFolder(playerFolder, "game.sav");
  shell.highscoreFilePath = InFolder(playerFolder, "game.hsc");
  shell.screenshotFolder = InFolder(playerFolder, "screenshots");
  rt::SleepMs(1000);
  shell.state = GameState{};
  if (rt::ScreenMode(kGameMode, kGameDepth, kGamePages, 0, 0) != rt::ResultOk) return false;
  shell.introImage = LoadBitmapAsset(kIntroPicture);
  shell.state.catcherImage = LoadBitmapAsset(kCatcherPicture);
  rt::SetMouse(1, 1, 0, -1);
  rt::WindowTitle(shell_text::kMenuTitle);
  rt::Bload(kIntroPicture);
  rt::SleepMs(1500);  // the bare picture as a splash; a key shortens it
  return true;
}

void RunScreens(Shell& shell, NextScreen first) {
  for (NextScreen next = first; next != NextScreen::Exit;) next = Show(shell, next);
}

int RunMorvanta() {
  Shell shell;
  if (!StartUp(shell, PlayerFolder())) {
    std::fprintf(stderr,
                 "morvanta: no display could be opened; try running under a desktop session, "
                 "or set MORVANTA_DRIVER=null to run without a window\n");
    return 1;
  }
  RunScreens(shell, NextScreen::Menu);
  // The orderly end: images before the screen they were made for.
  shell = Shell{};
  rt::CloseAllFiles();
  rt::ScreenClose();
  return 0;
}

}  // namespace game
