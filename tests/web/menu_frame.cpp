// Writes the menu's first frame as the desktop build draws it: the real
// start-up and menu on the null back end, on a virtual clock so that the
// start-up's pauses take no time. The browser test compares the page's
// canvas with it. The file holds the visible page's rows top to bottom,
// 0xAARRGGBB pixels little-endian.
//   web_menu_frame <folder with the game's pictures> <output file>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "game/shell/shell.h"
#include "gfx/screen_state.h"
#include "input/clock.h"

namespace {

struct MenuDrawn {};

bool WriteVisiblePage(const char* path) {
  const rt::ScreenState* screen = rt::Screen();
  std::ofstream out(path, std::ios::binary);
  for (int y = 0; y < screen->height; ++y) {
    out.write(reinterpret_cast<const char*>(screen->VisibleRow(y)), std::streamsize(screen->width) * 4);
  }
  return bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: web_menu_frame <picture folder> <output file>\n");
    return 2;
  }
  const std::filesystem::path output = std::filesystem::absolute(argv[2]);
  std::filesystem::current_path(argv[1]);
  setenv("MORVANTA_DRIVER", "null", 1);
  rt::VirtualClock clock;
  rt::SetClock(&clock);
  game::Shell shell;
  if (!game::StartUp(shell, std::filesystem::temp_directory_path().string())) return 1;
  // The menu's first sleep comes once it has drawn itself.
  bool written = false;
  clock.onSleep = [&](int) {
    written = WriteVisiblePage(output.c_str());
    throw MenuDrawn{};
  };
  try {
    game::RunScreens(shell, game::NextScreen::Menu);
  } catch (const MenuDrawn&) {
  }
  return written ? 0 : 1;
}
