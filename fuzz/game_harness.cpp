#include "game_harness.h"

#include <filesystem>

#include "fuzz_support.h"
#include "gfx/screen.h"
#include "input/key_queue.h"
#include "input/random.h"
#include "rt/file_channels.h"
#include "support/scenario.h"

namespace game::fuzz {

namespace {

constexpr long long kWakeAfterMs = 5000;
constexpr long long kHangAfterMs = 10 * 60 * 1000;

}  // namespace

GameHarness::GameHarness() {
  const std::filesystem::path folder = rt::fuzz::ScratchFile("game");
  std::filesystem::create_directories(folder);
  test::WriteGamePictures(folder);
  std::filesystem::current_path(folder);
}

GameHarness& GameHarness::Fresh() {
  static GameHarness* harness = new GameHarness;  // lives as long as the process
  harness->Reset();
  return *harness;
}

void GameHarness::Reset() {
  rt::ScreenClose();
  rt::CloseAllFiles();
  rt::TheKeyQueue().Clear();
  rt::ResetRandom();
  for (const char* leftover : {"game.sav", "game.hsc"}) std::filesystem::remove(leftover);
  clock_ = std::make_unique<rt::VirtualClock>();
  clock_->onSleep = [this](int delayMs) { Slept(delayMs); };
  rt::SetClock(clock_.get());
  rt::SetDriverList({rt::test::ScriptedDriver::Entry()});
  rt::fuzz::FuzzCheck(rt::ScreenMode(18, 32, 2, 0, 0) == 0, "the scripted screen did not open");
  Progress();
}

rt::test::ScriptedDriver& GameHarness::Driver() { return *rt::test::ScriptedDriver::Current(); }

void GameHarness::Progress() {
  progressAtMs_ = clock_->SleptMs();
  woken_ = false;
}

void GameHarness::Slept(int) {
  const long long waitedMs = clock_->SleptMs() - progressAtMs_;
  if (waitedMs > kHangAfterMs) rt::fuzz::FuzzFailure("the game waited ten virtual minutes after a key");
  if (waitedMs > kWakeAfterMs && !woken_) {
    woken_ = true;
    Driver().Type(' ');
  }
}

}  // namespace game::fuzz
