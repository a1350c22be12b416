#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/next_screen.h"
#include "input/clock.h"
#include "support/scripted_driver.h"

namespace game::test {

// Colours (0xRRGGBB) of the pictures a scenario writes into its folder.
// Sprites are solid squares; the object sprites have see-through corners.
inline constexpr std::uint32_t kTransparentKey = 0xFF00FF;
inline constexpr std::uint32_t kCatcherColor = 0xFF8800;
inline constexpr std::uint32_t kWhiteStoneColor = 0xE8E8E8;
inline constexpr std::uint32_t kBlackStoneColor = 0x383838;
inline constexpr std::uint32_t kHeartColor = 0xE02020;
inline constexpr std::uint32_t kMoneyColor = 0xF0C000;
inline constexpr std::uint32_t kUfoColor = 0x20C040;
inline constexpr int kCatcherWidth = 30;
inline constexpr int kCatcherHeight = 10;
inline constexpr int kObjectSize = 16;
std::uint32_t SpriteColor(ObjectKind kind);
// The background: a dark vertical gradient, different on every row.
std::uint32_t BackgroundColorAt(int x, int y);
inline constexpr std::uint32_t kIntroColor = 0x301040;

// Writes a 24-bit bottom-up BMP whose pixels come from colorAt(x, y) as 0xRRGGBB.
void WriteBmp(const std::filesystem::path& path, int width, int height,
              const std::function<std::uint32_t(int x, int y)>& colorAt);
// Writes the game's eight pictures into `folder`.
void WriteGamePictures(const std::filesystem::path& folder);

// The game's values when a frame ended, and the frame's sleeps.
struct FrameRecord : GameValues {
  std::vector<int> sleepsMs;  // every clock sleep of the frame, in order
  int SleptMs() const;
};

// A round played by the real GameLoop on the scripted back end and a virtual
// clock, in a fresh working folder that holds the game's pictures. Creating
// one opens the 640 x 480 screen, sets every field to its start value and
// loads the catcher as start-up does; destroying it closes everything and
// removes the folder. Frames are counted from 0 over the scenario's life;
// input "for n frames" starts with the next frame that runs.
//
// Pauses are resumed by a typed key 1500 virtual ms after they begin (see
// SetPauseLength); a frame that does not end within ten virtual minutes is a
// test failure and is ended with Esc.
class Scenario {
 public:
  Scenario();
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  GameState& State() { return state_; }
  rt::VirtualClock& Clock() { return clock_; }
  rt::test::ScriptedDriver& Driver();
  const std::filesystem::path& Folder() const { return folder_; }

  // Replaces the generated pictures by the BMP files of `folder` (for
  // example the play folder) and reloads the catcher.
  void UsePictures(const std::filesystem::path& folder);

  // StartNewGame.
  void NewGame();
  // An object of `kind` with its sprite at (x, y), as a spawn would leave it
  // apart from the place.
  void PlaceObject(ObjectKind kind, int x, int y);

  // Input. Held keys and buttons are released at the start of the frame
  // `frames` frames after the next one.
  void HoldKey(int scancode, int frames);
  void HoldButtons(int bits, int frames);
  void MovePointer(int x, int y) { Driver().MovePointer(x, y); }
  void MovePointerOutside() { Driver().MovePointerOutside(); }
  void TurnWheel(int steps) { Driver().TurnWheel(steps); }
  void Type(int keyCode) { Driver().Type(keyCode); }
  void CloseButton() { Driver().CloseButton(); }
  // Runs `action` at the start of the frame `frame` frames after the next one.
  void AtFrame(int frame, std::function<void()> action);
  // Called after every clock sleep with its length.
  void OnSleep(std::function<void(int delayMs)> observer) { sleepObserver_ = std::move(observer); }
  // Virtual ms between a pause's title and the key that resumes it; 0 leaves pauses to the test.
  void SetPauseLength(int ms) { pauseLengthMs_ = ms; }

  // Runs the round for `frames` frames; NextScreen::Round when they all ran,
  // else the screen the loop handed over to.
  NextScreen RunFrames(int frames);
  // Runs until the loop hands over, at most `maxFrames` frames.
  NextScreen RunUntilHandOver(int maxFrames = 100000) { return RunFrames(maxFrames); }

  // Read back.
  int FramesRun() const { return static_cast<int>(frames_.size()); }
  const std::vector<FrameRecord>& Frames() const { return frames_; }
  const FrameRecord& LastFrame() const { return frames_.back(); }
  // The message at the end of each frame, repeats dropped.
  std::vector<std::string> Messages() const;
  const std::vector<std::string>& Titles();
  // Files in the folder other than the pictures, relative, sorted.
  std::vector<std::string> FilesWritten() const;
  // The visible page.
  std::uint32_t Pixel(int x, int y) const;
  std::uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }
  // Text drawn in the 8 x 16 font in the foreground colour with its top-left
  // at (x, y): one byte per cell, '?' where no glyph matches, trailing blanks dropped.
  std::string ReadText(int x, int y, int cells) const;
  std::string StatusLine() const { return ReadText(1, 1, 79); }
  std::string MessageLine() const { return ReadText(0, 27 * 16, 80); }

 private:
  bool FrameStarts(GameState& state);
  void FrameEnded(const GameState& state);
  void SleepHappened(int delayMs);
  void ResumePause(int delayMs);
  void EndStalledFrame();

  std::filesystem::path folder_;
  std::filesystem::path previousFolder_;
  rt::VirtualClock clock_;
  GameState state_;
  std::vector<FrameRecord> frames_;
  FrameRecord current_;
  bool inFrame_ = false;
  int stopAtFrame_ = 0;
  long long frameStartMs_ = 0;
  std::multimap<int, std::function<void()>> actions_;
  std::function<void(int)> sleepObserver_;
  int pauseLengthMs_ = 1500;
  long long pauseStartMs_ = -1;
  bool pauseResumed_ = false;
  bool stalled_ = false;
};

}  // namespace game::test
