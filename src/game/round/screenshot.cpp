#include "game/round/screenshot.h"

#include <filesystem>
#include <string>

#include "game/round/texts.h"
#include "gfx/bmp.h"
#include "input/timing.h"
#include "rt/strings.h"

namespace game {

namespace {

// Each part comes from its own reading of the clock, seconds first.
std::string ScreenshotName() {
  const std::string date = rt::DateString();
  const int second = rt::SecondOf(rt::Now());
  const int minute = rt::MinuteOf(rt::Now());
  const int hour = rt::HourOf(rt::Now());
  return "screen" + date + "-" + rt::StrFromInt(hour) + "-" + rt::StrFromInt(minute) + "-" +
         rt::StrFromInt(second) + ".bmp";
}

}  // namespace

void TakeScreenshot(GameState& state, const std::string& folder) {
  const std::string name = ScreenshotName();
  std::error_code ignored;
  std::filesystem::create_directory(folder, ignored);
  const bool saved = rt::Bsave(folder + "/" + name) == rt::ResultOk;
  rt::SleepMs(100);
  state.message =
      saved ? text::kScreenshotSavedPrefix + name + text::kScreenshotSavedSuffix : text::kScreenshotFailed;
}

}  // namespace game
