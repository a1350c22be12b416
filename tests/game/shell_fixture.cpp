#include "shell_fixture.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "game/round.h"
#include "game/shell_texts.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "gfx/text.h"
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
  constexpr int kCellWidth = 8, kCellHeight = 16;
  constexpr std::uint32_t kUnset = 0x123456;
  const int width = int(text.size()) * kCellWidth;
  rt::ImagePtr glyphs(rt::ImageCreate(width, kCellHeight, kUnset, 32, true));
  if (!glyphs || rt::DrawString(glyphs.get(), 0, 0, 4, text, color) != 0) return false;
  const rt::Surface surface = rt::ImageSurface(glyphs.get());
  for (int row = 0; row < kCellHeight; ++row) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(surface.Row(row));
    for (int col = 0; col < width && x + col < rt::Screen()->width; ++col) {
      const bool set = (pixels[col] & 0xFFFFFF) != kUnset;
      const std::uint32_t shown = ScreenPixel(x + col, y + row);
      if (set && shown != color) return false;
      if (!set && background >= 0 && shown != std::uint32_t(background)) return false;
    }
  }
  return true;
}

}  // namespace game::test
