// Level rises, the notice screen, screenshots and the background picture, on the real loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "game/assets.h"
#include "game/round/levels.h"
#include "game/round/round.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "gfx/bmp.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "support/scenario.h"

namespace game {
namespace {

using test::Scenario;

class Levels : public ::testing::Test {
 protected:
  void SetUp() override {
    s.frameDelay = 4;
    s.level = 1;
    s.lives = 3;
    s.catcherX = 300;
    scenario.PlaceObject(ObjectKind::WhiteStone, 300, 100);
    // The notice's first line, each time a new one is on the screen.
    scenario.OnSleep([this](int delayMs) {
      if (delayMs != 1) return;
      const std::string line = test::ReadText(0, 0, 60);
      if (line.find("Punkte erreicht") != std::string::npos && (notices.empty() || notices.back() != line)) {
        notices.push_back(line);
        secondLines.push_back(test::ReadText(0, 16, 60));
      }
    });
  }

  Scenario scenario;
  GameState& s = scenario.State();
  std::vector<std::string> notices;
  std::vector<std::string> secondLines;
};

TEST_F(Levels, TenPointsAtLevel1ShowTheNoticeAtTheEndOfTheNextFrame) {
  s.points = 9;
  scenario.PlaceObject(ObjectKind::WhiteStone, 310, 399);
  s.fallPhase = 1;
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().points, 10);
  EXPECT_TRUE(notices.empty()) << "a frame ended by a catch checks no level";
  scenario.RunFrames(1);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "10 Punkte erreicht: Ein Leben hinzugef\x81gt!!!");
  EXPECT_EQ(secondLines[0], text::kLevelUpNextLevel);
  const auto& f = scenario.LastFrame();
  EXPECT_EQ(f.points, 12);
  EXPECT_EQ(f.level, 2);
  EXPECT_EQ(f.lives, 4);
  EXPECT_EQ(f.message, "2. Level erreicht");
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.Titles().back(), "Spiel - Level 2 | Morvanta");
  EXPECT_EQ(test::MessageLine(), "2. Level erreicht");
}

TEST_F(Levels, AScoreAtALimitRaisesNothingOneMorePointDoes) {
  for (auto [level, limit] :
       {std::pair{1, 9}, {2, 19}, {3, 49}, {4, 99}, {5, 199}, {6, 349}, {7, 524}, {8, 774}}) {
    s.level = level;
    s.points = limit;
    CheckLevelUp(s);
    EXPECT_EQ(s.level, level);
    s.points = limit + 1;
    CheckLevelUp(s);
    EXPECT_EQ(s.level, level + 1);
  }
  EXPECT_EQ(notices.size(), 8u);
}

TEST_F(Levels, ALoadedLevel1With800PointsShowsEightNoticesInOneFrame) {
  s.points = 800;
  scenario.RunFrames(1);
  EXPECT_EQ(notices, (std::vector<std::string>{"800 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "802 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "806 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "811 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "816 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "822 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "829 Punkte erreicht: Ein Leben hinzugef\x81gt!!!",
                                               "837 Punkte erreicht: Ein Leben hinzugef\x81gt!!!"}));
  EXPECT_EQ(scenario.LastFrame().level, 9);
  EXPECT_EQ(scenario.LastFrame().lives, 3 + 8);
  EXPECT_EQ(scenario.LastFrame().points, 846);
  EXPECT_EQ(scenario.LastFrame().message, "9. Level erreicht");
}

TEST_F(Levels, Level9IsTheLast) {
  s.level = 9;
  s.points = 5000;
  scenario.RunFrames(2);
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(scenario.LastFrame().lives, 3);
}

TEST_F(Levels, TheNoticeLastsAboutFiveSecondsAndKeysShortenItsLongSleeps) {
  s.points = 10;
  long long before = scenario.Clock().SleptMs();
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.Clock().SleptMs() - before, 2 + 1 + 1 + 9 + 3 * 1000 + 2000);
  EXPECT_EQ(scenario.LastFrame().level, 2);
  // A key typed during each long sleep ends it at its next look.
  scenario.OnSleep([&](int delayMs) {
    if (delayMs == 50) scenario.Type('x');
  });
  s.points = 20;
  before = scenario.Clock().SleptMs();
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.LastFrame().level, 3);
  EXPECT_EQ(scenario.Clock().SleptMs() - before, 2 + 1 + 1 + 9 + 4 * 50);
}

class Screenshots : public Levels {};

TEST_F(Screenshots, HoldingSWritesTheScreenAndNamesTheFileInTheMessage) {
  scenario.Clock().SetLocalTime(2026, 12, 7, 9, 5, 3);
  std::filesystem::remove_all(scenario.Folder() / "screenshots");
  s.message = text::kStoneDodged;
  scenario.HoldKey(scancode::kS, 1);
  scenario.RunFrames(1);
  EXPECT_EQ(scenario.FilesWritten(), (std::vector<std::string>{"screenshots/screen12-07-2026-9-5-3.bmp"}));
  EXPECT_EQ(std::filesystem::file_size(scenario.Folder() / "screenshots/screen12-07-2026-9-5-3.bmp"),
            1228854u);
  EXPECT_EQ(scenario.LastFrame().message,
            "Bildschirm als 'screen12-07-2026-9-5-3.bmp' in '/screenshots/' gespeichert");
  EXPECT_EQ(scenario.LastFrame().sleepsMs, (std::vector<int>{2, 1, 50, 50}));
  // The picture shows the frame, with the message it had then.
  ASSERT_EQ(rt::Bload("screenshots/screen12-07-2026-9-5-3.bmp"), rt::ResultOk);
  EXPECT_EQ(test::MessageLine(), text::kStoneDodged);
}

TEST_F(Screenshots, APictureThatCannotBeWrittenSaysSo) {
  std::filesystem::remove_all(scenario.Folder() / "screenshots");
  std::ofstream(scenario.Folder() / "screenshots") << "in the way";
  scenario.HoldKey(scancode::kS, 1);
  scenario.RunFrames(2);
  EXPECT_EQ(scenario.LastFrame().message, text::kScreenshotFailed);
  // The next frame shows it in red, as the shell shows failed writes.
  int red = 0, other = 0;
  for (int y = 27 * 16; y < 28 * 16; ++y) {
    for (int x = 0; x < 8 * int(text::kScreenshotFailed.size()); ++x) {
      const std::uint32_t rgb = test::ScreenRgb(x, y);
      if (rgb == 0xFF0000)
        ++red;
      else if (rgb != 0)
        ++other;
    }
  }
  EXPECT_GT(red, 100);
  EXPECT_EQ(other, 0);
}

class Background : public Levels {
 protected:
  // The screen as a fresh clear and load of the picture leaves it.
  void FreshLoad() {
    rt::Cls();
    rt::Bload(kBackgroundPicture);
  }
  // The rows between the status line and the sprites.
  std::vector<std::uint32_t> Rows(int first, int last) {
    std::vector<std::uint32_t> pixels;
    for (int y = first; y < last; ++y) {
      for (int x = 0; x < 640; ++x) pixels.push_back(test::ScreenPixel(x, y));
    }
    return pixels;
  }
  std::vector<std::uint32_t> Frame() {
    s.objectY = 15;  // out of the compared rows
    scenario.RunFrames(1);
    return Rows(40, 390);
  }
};

TEST_F(Background, EveryFrameShowsWhatAFreshLoadShowsEvenAfterTheFileChanges) {
  scenario.RunFrames(1);
  const std::vector<std::uint32_t> first = Frame();
  const std::vector<std::uint32_t> again = Frame();
  EXPECT_EQ(again, first);
  test::WriteBmp(kBackgroundPicture, 320, 240, [](int x, int y) { return std::uint32_t(x ^ y) * 0x010203u; });
  const std::vector<std::uint32_t> changed = Frame();
  EXPECT_NE(changed, first);
  EXPECT_EQ(Frame(), changed);
  FreshLoad();
  EXPECT_EQ(Rows(40, 390), changed);
  std::filesystem::remove(kBackgroundPicture);
  Frame();
  EXPECT_EQ(test::ScreenPixel(320, 200), rt::CurrentContext().background) << "the cleared screen";
}

TEST_F(Background, APictureCutShortShowsTheRowsAFreshLoadShows) {
  test::WriteBmp(kBackgroundPicture, 640, 480,
                 [](int x, int y) { return std::uint32_t(x * 3 + y) * 0x010101u; });
  // Half the rows are gone: the bottom ones are in the file, the top ones not.
  std::filesystem::resize_file(kBackgroundPicture, std::filesystem::file_size(kBackgroundPicture) / 2);
  scenario.RunFrames(1);
  const std::vector<std::uint32_t> frame = Frame();
  FreshLoad();
  EXPECT_EQ(frame, Rows(40, 390));
  EXPECT_EQ(frame.front(), rt::CurrentContext().background) << "a row the file lacks";
}

// Everything a frame leaves on the screen: pixels, text shadow, dirty rows.
struct DrawnFrame {
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> shadow;
  std::vector<std::uint8_t> dirty;
  bool operator==(const DrawnFrame&) const = default;
};

// On a cleared screen, draws a frame of the game as `before` leaves it, then
// one as `frame` leaves it, and takes what the second one left.
DrawnFrame DrawOnto(GameState& game, const std::function<void(GameState&)>& before,
                    const std::function<void(GameState&)>& frame) {
  rt::Cls();
  before(game);
  DrawFrame(game);
  rt::ScreenState& screen = *rt::Screen();
  std::fill(screen.dirtyLines.begin(), screen.dirtyLines.end(), 0);
  frame(game);
  DrawFrame(game);
  DrawnFrame drawn;
  const auto* pixels = reinterpret_cast<const std::uint32_t*>(screen.pages[0].pixels);
  drawn.pixels.assign(pixels, pixels + 640 * 480);
  for (const rt::TextCell& cell : screen.text.shadow[0])
    drawn.shadow.insert(drawn.shadow.end(), {cell.ch, cell.foreground, cell.background});
  drawn.dirty = screen.dirtyLines;
  return drawn;
}

// The background covers the screen, so the frame fills no pixel before
// copying it; nothing of the frame before may show for that, in the
// pixels, the text shadow or the rows handed to the display.
TEST_F(Background, AFrameLeavesNothingOfTheFrameBefore) {
  const auto other = [](GameState& g) {
    g.objectX = 20;
    g.catcherX = 500;
    g.points = 123456;
    g.message = text::kResumed;
  };
  const auto frame = [](GameState& g) {
    g.objectX = 300;
    g.catcherX = 300;
    g.points = 0;
    g.message = text::kPaused;  // shorter than the one before
  };
  const DrawnFrame afterOther = DrawOnto(s, other, frame);
  EXPECT_TRUE(afterOther == DrawOnto(s, frame, frame));
  EXPECT_EQ(afterOther.dirty, std::vector<std::uint8_t>(480, 1));
}

}  // namespace
}  // namespace game
