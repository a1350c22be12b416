#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/shell.h"
#include "support/runtime_fixture.h"
#include "support/scripted_driver.h"
#include "support/temp_folder.h"

namespace game::test {

bool TitleIs(const std::string& title);

// Whether `text` (code page 437) stands on the screen with its top-left
// corner at (x, y) in the colour 0xRRGGBB: every pixel of its glyphs has
// that colour. With `background` given, every other pixel of the text's
// cells has that one (text printed in opaque cells).
bool TextAt(int x, int y, std::string_view text, std::uint32_t color, int background = -1);

// Runs the real shell on the scripted back end and the virtual clock, in a
// fresh working folder that also holds the data files. A test scripts the
// player as a list of steps: whenever the program sleeps, the next step's
// condition is looked at and, when it holds, its action runs (hold a key,
// type a name, look at the screen).
class ShellTest : public rt::test::RuntimeTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds a step to the script.
  void When(std::function<bool()> condition, std::function<void()> action);
  // Runs at every sleep, whatever step is next.
  void Watch(std::function<void()> watcher);
  // Forgets the steps and watchers, for a second run in the same test.
  void ResetScript();
  bool ScriptDone() const { return nextStep_ == steps_.size(); }

  // Start-up as the program does it, with the data files in the folder.
  void StartGame();
  // The screens from `first` on until the program ends. A program still
  // running after `limitMs` more of virtual time fails the test.
  void RunScreensFrom(NextScreen first, long long limitMs = 600'000);
  // Both of the above.
  void Run(NextScreen first = NextScreen::Menu) {
    StartGame();
    RunScreensFrom(first);
  }
  // Start-up has finished and the window shows the menu's title (which the
  // highscore view keeps).
  bool InMenu() const;

  rt::test::ScriptedDriver& Driver();
  bool TitleSeen(const std::string& title);
  long long NowMs() const { return clock.SleptMs(); }

  std::string File(std::string_view name) const;
  void WriteFile(std::string_view name, std::string_view bytes) const;

  rt::test::TempFolder folder;
  Shell shell;

 private:
  void OnSleep();

  struct Step {
    std::function<bool()> condition;
    std::function<void()> action;
  };
  std::vector<Step> steps_;
  std::vector<std::function<void()>> watchers_;
  std::size_t nextStep_ = 0;
  bool startedUp_ = false;
  long long limitMs_ = 0;
  std::string previousFolder_;
};

}  // namespace game::test
