#include "shell_fixture.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "game/round.h"
#include "game/shell_texts.h"
#include "gfx/font.h"
#include "gfx/screen_state.h"
#include "input/random.h"
#include "rt/file_channels.h"

namespace game::test {
namespace {

struct ScenarioTimeout : std::runtime_error {
  ScenarioTimeout() : std::runtime_error("the program was still running when the scenario's time ran out") {}
};

std::uint32_t ScreenPixel(int x, int y) {
  const rt::ScreenState* screen = rt::Screen();
  return reinterpret_cast<const std::uint32_t*>(screen->VisibleRow(y))[x] & 0xFFFFFF;
}

}  // namespace

void ShellTest::SetUp() {
  RuntimeTest::SetUp();
  rt::SetDriverList({rt::test::ScriptedDriver::Entry()});
  rt::ResetRandom();
  rt::WindowTitle("");  // titles outlive a screen; start each test without one
  previousFolder_ = std::filesystem::current_path().string();
  std::filesystem::current_path(folder.Path());
  clock.SetLocalTime(2026, 12, 7, 9, 5, 3);
  clock.onSleep = [this](int) { OnSleep(); };
}

void ShellTest::TearDown() {
  clock.onSleep = nullptr;
  SetFrameHook({});
  shell = Shell{};
  rt::CloseAllFiles();
  RuntimeTest::TearDown();
  rt::SetDriverList({});
  std::filesystem::current_path(previousFolder_);
}

void ShellTest::When(std::function<bool()> condition, std::function<void()> action) {
  steps_.push_back({std::move(condition), std::move(action)});
}

void ShellTest::Watch(std::function<void()> watcher) { watchers_.push_back(std::move(watcher)); }

void ShellTest::ResetScript() {
  steps_.clear();
  watchers_.clear();
  nextStep_ = 0;
  startedUp_ = false;
}

bool ShellTest::InMenu() const { return startedUp_ && TitleIs(shell_text::kMenuTitle); }

void ShellTest::OnSleep() {
  if (NowMs() > limitMs_) throw ScenarioTimeout();
  for (const auto& watcher : watchers_) watcher();
  if (nextStep_ < steps_.size() && steps_[nextStep_].condition()) steps_[nextStep_++].action();
}

void ShellTest::StartGame() {
  limitMs_ = NowMs() + 60'000;
  ASSERT_TRUE(StartUp(shell, folder.Path().string()));
  startedUp_ = true;
}

void ShellTest::RunScreensFrom(NextScreen first, long long limitMs) {
  limitMs_ = NowMs() + limitMs;
  try {
    RunScreens(shell, first);
  } catch (const ScenarioTimeout& timeout) {
    ADD_FAILURE() << timeout.what() << " (step " << nextStep_ << " of " << steps_.size() << " was next)";
  }
}

rt::test::ScriptedDriver& ShellTest::Driver() {
  rt::test::ScriptedDriver* driver = rt::test::ScriptedDriver::Current();
  if (!driver) throw std::logic_error("no scripted window is open");
  return *driver;
}

bool TitleIs(const std::string& title) { return rt::CurrentWindowTitle() == title; }

bool ShellTest::TitleSeen(const std::string& title) {
  const auto& titles = Driver().Titles();
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

std::string ShellTest::File(std::string_view name) const { return rt::test::ReadBytes(folder.File(name)); }

void ShellTest::WriteFile(std::string_view name, std::string_view bytes) const {
  rt::test::WriteBytes(folder.File(name), bytes);
}

bool TextAt(int x, int y, std::string_view text, std::uint32_t color, int background) {
  const rt::BuiltinFont& font = rt::FontByIndex(2);  // the game's 8 x 16 font
  const rt::ScreenState* screen = rt::Screen();
  if (!screen) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t* glyph = font.glyphs + std::size_t(static_cast<unsigned char>(text[i])) * font.height;
    for (int row = 0; row < font.height; ++row) {
      for (int bit = 0; bit < 8; ++bit) {
        const int px = x + int(i) * 8 + bit;
        if (px >= screen->width) break;
        const bool set = (glyph[row] >> bit) & 1;
        const std::uint32_t shown = ScreenPixel(px, y + row);
        if (set && shown != color) return false;
        if (!set && background >= 0 && shown != std::uint32_t(background)) return false;
      }
    }
  }
  return true;
}

}  // namespace game::test
