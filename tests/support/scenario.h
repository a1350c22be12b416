#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/next_screen.h"
#include "game/shell/shell.h"
#include "input/clock.h"
#include "support/game_pictures.h"
#include "support/scripted_driver.h"
#include "support/temp_folder.h"

namespace game::test {

// The game's values when a frame ended, and the frame's sleeps.
struct FrameRecord : GameValues {
  std::vector<int> sleepsMs;  // every clock sleep of the frame, in order
  int SleptMs() const;
};

// Thrown out of the program's sleep when it has made no progress for too long.
struct Stalled : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The real game on the scripted back end and a virtual clock (local time 7
// December 2026, 9:05:03), in a fresh working folder that holds the game's
// pictures and its data files. Creating one opens the game's screen and
// loads the catcher, as start-up does but without its pauses; destroying it
// closes everything and removes the folder.
//
// A test plays the round frame by frame (RunFrames, with input scheduled by
// frame), or runs the program from start-up (RunProgram) and plays it with a
// script: at every sleep of the program the OnSleep watchers run, then the
// next step's condition is looked at and, when it holds, its action runs.
// A fuzzer does the same with the fuzzer's bytes as the script.
//
// Progress is a frame starting, a run starting or a call of Progress(). The
// program must not go GiveUpAfter (ten virtual minutes) without progress:
// Stalled is then thrown out of its sleep, and the test fails on it.
class Scenario {
 public:
  Scenario();
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  Shell& TheShell() { return shell_; }
  GameState& State() { return shell_.state; }
  rt::VirtualClock& Clock() { return clock_; }
  long long NowMs() const { return clock_.SleptMs(); }
  rt::test::ScriptedDriver& Driver();
  const std::filesystem::path& Folder() const { return folder_.Path(); }

  // The round, frame by frame. Frames are counted from 0 over the
  // scenario's life; input "for n frames" starts with the next frame.
  void NewGame();  // StartNewGame
  // An object of `kind` with its sprite at (x, y), as a spawn would leave it
  // apart from the place.
  void PlaceObject(ObjectKind kind, int x, int y);
  // Runs and records `frames` frames; NextScreen::Round when they all ran,
  // else the screen the loop handed over to.
  NextScreen RunFrames(int frames);
  NextScreen RunUntilHandOver(int maxFrames = 100000) { return RunFrames(maxFrames); }
  int FramesRun() const { return static_cast<int>(frames_.size()); }
  const std::vector<FrameRecord>& Frames() const { return frames_; }
  const FrameRecord& LastFrame() const { return frames_.back(); }
  // Held keys and buttons are released at the start of the frame `frames`
  // frames after the next one.
  void HoldKey(int scancode, int frames);
  void HoldButtons(int bits, int frames);
  // Runs `action` at the start of the frame `frame` frames after the next one.
  void AtFrame(int frame, std::function<void()> action);

  // The whole program. StartGame runs start-up as the program does, from a
  // closed screen; RunScreensFrom runs the screens from `first` until the
  // program ends.
  void StartGame();
  void RunScreensFrom(NextScreen first);
  void RunProgram(NextScreen first = NextScreen::Menu) {
    StartGame();
    RunScreensFrom(first);
  }
  // Start-up has finished and the window shows the menu's title (which the
  // highscore view keeps).
  bool InMenu() const;

  // The script; ResetScript forgets it, for a second run in the same test.
  void When(std::function<bool()> condition, std::function<void()> action);
  void OnSleep(std::function<void(int delayMs)> watcher);
  // Runs at the start of every frame that runs, in RunFrames and in the screens.
  void EachFrame(std::function<void(GameState&)> action);
  void ResetScript();
  bool ScriptDone() const { return nextStep_ == steps_.size(); }

  // The program has moved on; a test says so between screens it calls itself.
  void Progress() {
    progressAtMs_ = NowMs();
    woken_ = false;
  }
  void GiveUpAfter(long long ms) { giveUpAfterMs_ = ms; }
  // From now on, once the program has waited five virtual seconds without
  // progress, the player types Space and Enter, which ends a pause, a wait
  // for a key and the name prompt.
  void WakeLongWaits() { wakeLongWaits_ = true; }

  // Input now.
  void MovePointer(int x, int y) { Driver().MovePointer(x, y); }
  void MovePointerOutside() { Driver().MovePointerOutside(); }
  void TurnWheel(int steps) { Driver().TurnWheel(steps); }
  void Type(int keyCode) { Driver().Type(keyCode); }
  void CloseButton() { Driver().CloseButton(); }

  // Read back.
  const std::vector<std::string>& Titles() { return Driver().Titles(); }
  bool TitleSeen(const std::string& title);
  // Files in the folder other than the pictures, relative, sorted.
  std::vector<std::string> FilesWritten() const;
  std::string File(std::string_view name) const;
  void WriteFile(std::string_view name, std::string_view bytes) const;

 private:
  bool FrameStarts(GameState& state);
  void FrameEnded(const GameState& state);
  void Slept(int delayMs);

  rt::test::TempFolder folder_;
  std::filesystem::path previousFolder_;
  rt::VirtualClock clock_;
  Shell shell_;
  bool startedUp_ = false;

  bool recording_ = false;
  bool inFrame_ = false;
  int stopAtFrame_ = 0;
  std::vector<FrameRecord> frames_;
  FrameRecord current_;
  std::multimap<int, std::function<void()>> atFrame_;
  std::vector<std::function<void(GameState&)>> eachFrame_;

  struct Step {
    std::function<bool()> condition;
    std::function<void()> action;
  };
  std::vector<Step> steps_;
  std::size_t nextStep_ = 0;
  std::vector<std::function<void(int)>> watchers_;

  long long progressAtMs_ = 0;
  long long giveUpAfterMs_ = 10 * 60 * 1000;
  bool wakeLongWaits_ = false;
  bool woken_ = false;
};

// What the visible page shows, with colors as 0xRRGGBB.
std::uint32_t ScreenPixel(int x, int y);  // with the alpha byte
std::uint32_t ScreenRgb(int x, int y);
// The text of `cells` cells of the 8 x 16 font drawn in `ink` with the top-left
// at (x, y): one byte per cell, '?' where no glyph matches, trailing blanks
// dropped. A cell shows a glyph when its set bits are in `ink` and its clear
// bits are not.
std::string ReadText(int x, int y, int cells, std::uint32_t ink = 0xFFFFFF);
// Whether `text` stands there, every cell as ReadText sees it; with `paper`
// given, the clear bits must be in that color (text in opaque cells).
bool TextAt(int x, int y, std::string_view text, std::uint32_t ink, int paper = -1);
std::string StatusLine();
std::string MessageLine();
bool TitleIs(const std::string& title);

}  // namespace game::test
