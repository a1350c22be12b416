// The real program in a real window, played from outside with xdotool as a
// person would, each test in its own copy of the play folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "rt/codepage.h"
#include "screen_capture.h"
#include "support/temp_folder.h"
#include "x_display.h"

namespace game::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using rt::test::Shell;
using rt::test::WaitFor;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;

// What the window shows, read back from the X server.
class Picture {
 public:
  Picture(int left, int top) : pixels_(CaptureScreenArea(left, top, kWidth, kHeight)) {}
  std::uint32_t At(int x, int y) const {
    return pixels_.empty() ? 0xDEADBEEF : pixels_[std::size_t(y) * kWidth + x];
  }
  // Every pixel of the glyphs of `text` (UTF-8, shown in code page 437) at
  // (x, y) has the color.
  bool Shows(int x, int y, std::string_view text, std::uint32_t color) const {
    const std::string bytes = rt::Cp437(text);
    const rt::BuiltinFont& font = rt::FontByIndex(2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const std::uint8_t* glyph =
          font.glyphs + std::size_t(static_cast<unsigned char>(bytes[i])) * font.height;
      for (int row = 0; row < font.height; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
          const int px = x + int(i) * 8 + bit;
          if (px < kWidth && ((glyph[row] >> bit) & 1) && At(px, y + row) != color) return false;
        }
      }
    }
    return true;
  }

 private:
  static constexpr int kWidth = 640, kHeight = 480;
  std::vector<std::uint32_t> pixels_;
};

// One run of the program in a copy of the play folder.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry : fs::directory_iterator(MORVANTA_PLAY_DIR)) {
      if (entry.is_regular_file()) fs::copy_file(entry.path(), folder.Path() / entry.path().filename());
    }
    fs::create_directory(folder.Path() / "screenshots");
  }
  void TearDown() override {
    Shell("xdotool keyup space Escape s f Return 2>/dev/null");
    if (child > 0 && waitpid(child, nullptr, WNOHANG) == 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
  }

  // Starts the program, its standard error going to "stderr.txt", and waits
  // for its window and the menu; without a display it only starts it.
  void Start(bool withDisplay = true) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (chdir(folder.Path().c_str()) != 0) _exit(126);
      const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(err, 2);
      unsetenv("MORVANTA_DRIVER");
      if (playerFolder.empty()) {
        unsetenv("MORVANTA_PLAYER_FOLDER");
      } else {
        setenv("MORVANTA_PLAYER_FOLDER", playerFolder.c_str(), 1);
      }
      if (!withDisplay) unsetenv("DISPLAY"), unsetenv("WAYLAND_DISPLAY");
      execl("./morvanta", "morvanta", static_cast<char*>(nullptr));
      _exit(127);
    }
    if (!withDisplay) return;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindow()) != 0; }, 10s)) << "no window appeared";
    Shell("xdotool windowfocus --sync " + std::to_string(window) + " 2>/dev/null");
    origin = rt::test::Geometry(window);
    ASSERT_TRUE(WaitFor([&] { return Capture().Shows(1, 1, "Herzlich Willkommen", kWhite); }, 10s))
        << "the menu did not appear";
  }
  unsigned long FindWindow() const {
    const std::string ids =
        Shell("xdotool search --onlyvisible --pid " + std::to_string(child) + " 2>/dev/null");
    return std::strtoul(ids.c_str(), nullptr, 10);
  }
  Picture Capture() const { return Picture(origin.x, origin.y); }
  std::string Title() const { return rt::test::WindowName(window); }
  bool TitleBecomes(const std::string& title, std::chrono::milliseconds timeout = 10s) const {
    return WaitFor([&] { return Title() == title; }, timeout);
  }
  void Xdotool(const std::string& arguments) const { Shell("xdotool " + arguments + " 2>/dev/null"); }
  // Holds a key until `done` holds, as a player holds a key until the screen answers.
  bool HoldUntil(const std::string& key, const std::function<bool()>& done) const {
    Xdotool("keydown " + key);
    const bool answered = WaitFor(done, 10s);
    Xdotool("keyup " + key);
    return answered;
  }
  bool HoldUntilTitle(const std::string& key, const std::string& title) const {
    return HoldUntil(key, [&] { return Title() == title; });
  }
  // Leaves a round with Esc, letting go once the round has cleared the
  // screen, before the menu looks at Esc.
  bool LeaveRound() const {
    return HoldUntil("Escape", [&] { return Capture().At(320, 240) == 0; }) &&
           TitleBecomes("Menü | Morvanta");
  }
  // Ends the program from the menu; its exit code, or -1.
  int Quit() {
    Xdotool("keydown Escape");
    return ExitCode();
  }
  int ExitCode() {
    int status = 0;
    if (!WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 10s)) return -1;
    child = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string File(std::string_view name) const { return rt::test::ReadBytes(folder.File(name)); }
  void WriteFile(std::string_view name, std::string_view bytes) const {
    rt::test::WriteBytes(folder.File(name), bytes);
  }

  rt::test::TempFolder folder;
  std::string playerFolder;  // where the launcher says the player's files go, if anywhere
  pid_t child = 0;
  unsigned long window = 0;
  rt::test::WindowGeometry origin;
};

std::string Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::array<char, 16> text{};
  std::strftime(text.data(), text.size(), "%m-%d-%Y", &local);
  return text.data();
}

TEST_F(GameTest, TheMenuShowsItsSixLinesUnderItsTitle) {
  Start();
  const Picture menu = Capture();
  EXPECT_EQ(Title(), "Menü | Morvanta");
  EXPECT_TRUE(menu.Shows(1, 1, "Herzlich Willkommen", kWhite));
  EXPECT_TRUE(menu.Shows(1, 17, "Drücke F1 für die Anleitung", kWhite));
  EXPECT_TRUE(menu.Shows(1, 34, "Drücke Leertaste zum Starten", kWhite));
  EXPECT_TRUE(menu.Shows(1, 51, "Drücke S um das Spiel zu speichern", kWhite));
  EXPECT_TRUE(menu.Shows(1, 68, "Drücke F um ein gespeichertes Spiel fortzusetzten", kWhite));
  EXPECT_TRUE(menu.Shows(1, 85, "Drücke H um die Highscore anzusehen", kWhite));
  EXPECT_EQ(Quit(), 0);
}

TEST_F(GameTest, SpaceStartsARoundAndEscReturnsToTheMenu) {
  Start();
  ASSERT_TRUE(HoldUntilTitle("space", "Spiel - Level 1 | Morvanta"));
  EXPECT_TRUE(WaitFor([&] { return Capture().Shows(1, 1, "Leben:  3", kWhite); }));
  ASSERT_TRUE(LeaveRound());
  EXPECT_TRUE(WaitFor([&] { return Capture().Shows(1, 1, "Herzlich Willkommen", kWhite); }));
  EXPECT_EQ(Quit(), 0);
}

TEST_F(GameTest, SavingBeforeAnyGameWritesEightZerosBesideTheExecutable) {
  Start();
  ASSERT_TRUE(HoldUntilTitle("s", "Spiel speichern | Morvanta"));
  EXPECT_TRUE(WaitFor([&] { return Capture().Shows(50, 107, "Gespeichert", kWhite); }));
  EXPECT_EQ(File("game.sav"), "0,0,0,0,0,0,0,0\r\n");
  EXPECT_TRUE(TitleBecomes("Menü | Morvanta"));
  EXPECT_EQ(Quit(), 0);
}

TEST_F(GameTest, FResumesASavedGameAfterTheCountdownAndSSavesItAgain) {
  WriteFile("game.sav", "15,300,5,1,2,1,3,100\r\n");  // far from the catch line
  Start();
  bool countdownShown = false;
  ASSERT_TRUE(HoldUntilTitle("f", "Spiel laden | Morvanta"));
  EXPECT_TRUE(WaitFor([&] {
    const Picture p = Capture();
    countdownShown |=
        p.Shows(152, 304, "3", kRed) || p.Shows(152, 304, "2", kRed) || p.Shows(152, 304, "1", kRed);
    return Title() == "Spiel - Level 1 | Morvanta";
  }));
  EXPECT_TRUE(countdownShown);
  EXPECT_TRUE(WaitFor([&] { return Capture().Shows(1, 1, "Leben:  3  Steine:  2   Punkte:  5", kWhite); }));
  ASSERT_TRUE(LeaveRound());
  ASSERT_TRUE(HoldUntilTitle("s", "Spiel speichern | Morvanta"));
  ASSERT_TRUE(TitleBecomes("Menü | Morvanta"));
  // The object fell meanwhile; points, level, stones and lives are as loaded.
  EXPECT_TRUE(std::regex_match(File("game.sav"), std::regex(R"(\d+,\d+,5,1,2,1,3,\d+\r\n)")))
      << File("game.sav");
  EXPECT_EQ(Quit(), 0);
}

// A white stone far from the catcher with one life left: the game ends, the
// record is beaten, the player is asked for a name.
TEST_F(GameTest, AGameOverWithARecordAsksForTheNameAndWritesIt) {
  WriteFile("game.sav", "395,300,150,5,42,1,1,10\r\n");
  Start();
  ASSERT_TRUE(HoldUntilTitle("f", "Spiel laden | Morvanta"));
  ASSERT_TRUE(TitleBecomes("Neue Highscore | Morvanta"));
  EXPECT_TRUE(WaitFor([&] { return Capture().Shows(0, 48, "Dein Name bitte: ", kWhite); }));
  Xdotool("type --delay 30 Zoe");
  Xdotool("key Return");
  EXPECT_TRUE(WaitFor([&] { return File("game.hsc") == "150,\"" + Today() + "\",42,\"Zoe\"\r\n"; }))
      << File("game.hsc");
  EXPECT_TRUE(WaitFor([&] { return File("game.sav") == "0\r\n"; })) << File("game.sav");
  EXPECT_TRUE(TitleBecomes("Menü | Morvanta", 30s));
  EXPECT_EQ(Quit(), 0);
}

// A screenshot of the whole window lies in `shots`; a picture is written
// beside its final name first and then renamed.
bool HasScreenshot(const fs::path& shots) {
  const std::regex name(R"(screen\d\d-\d\d-\d{4}-\d{1,2}-\d{1,2}-\d{1,2}\.bmp)");
  std::error_code missing;
  for (const auto& shot : fs::directory_iterator(shots, missing)) {
    std::error_code gone;  // a temporary may be renamed while we look
    if (std::regex_match(shot.path().filename().string(), name) &&
        fs::file_size(shot.path(), gone) == 1'228'854) {
      return true;
    }
  }
  return false;
}

TEST_F(GameTest, SDuringARoundWritesAScreenshot) {
  Start();
  ASSERT_TRUE(HoldUntilTitle("space", "Spiel - Level 1 | Morvanta"));
  EXPECT_TRUE(HoldUntil("s", [&] { return HasScreenshot(folder.Path() / "screenshots"); }));
  ASSERT_TRUE(LeaveRound());
  EXPECT_EQ(Quit(), 0);
}

// The launcher of a game installed where the player may not write names a
// folder of the player's own; the pictures still come from the game's folder.
TEST_F(GameTest, ThePlayersFilesGoToTheFolderTheLauncherNames) {
  rt::test::TempFolder own;
  playerFolder = own.Path().string();
  Start();
  ASSERT_TRUE(HoldUntilTitle("s", "Spiel speichern | Morvanta"));
  EXPECT_TRUE(WaitFor([&] { return rt::test::ReadBytes(own.File("game.sav")) == "0,0,0,0,0,0,0,0\r\n"; }));
  ASSERT_TRUE(TitleBecomes("Menü | Morvanta"));
  ASSERT_TRUE(HoldUntilTitle("space", "Spiel - Level 1 | Morvanta"));
  EXPECT_TRUE(HoldUntil("s", [&] { return HasScreenshot(own.Path() / "screenshots"); }));
  ASSERT_TRUE(LeaveRound());
  EXPECT_EQ(Quit(), 0);
  EXPECT_FALSE(fs::exists(folder.Path() / "game.sav"));
  EXPECT_TRUE(fs::is_empty(folder.Path() / "screenshots"));
}

TEST_F(GameTest, TheCloseButtonInTheMenuEndsTheProgram) {
  Start();
  rt::test::SendCloseRequest(window);
  EXPECT_EQ(ExitCode(), 0);
}

// The display goes away under the running game: its server ends (the
// desktop session ends) or its window is destroyed from outside.
enum class Place { Menu, Round, SaveScreen };
enum class Loss { ServerEnds, WindowDestroyed };
struct LossCase {
  const char* name;
  Place place;
  Loss loss;
};

void PrintTo(const LossCase& lossCase, std::ostream* out) { *out << lossCase.name; }

class LostDisplayTest : public GameTest, public ::testing::WithParamInterface<LossCase> {
 protected:
  rt::test::PrivateXServer server;  // DISPLAY names it before the game starts
};

TEST_P(LostDisplayTest, EndsWithCodeOneAndOneLineKeepingTheSaveWhole) {
  ASSERT_TRUE(server.Running());
  const std::string oldSave = "15,300,5,1,2,1,3,100\r\n";
  WriteFile("game.sav", oldSave);
  Start();
  switch (GetParam().place) {
    case Place::Menu: break;
    case Place::Round: ASSERT_TRUE(HoldUntilTitle("space", "Spiel - Level 1 | Morvanta")); break;
    case Place::SaveScreen:
      Xdotool("keydown s");
      ASSERT_TRUE(TitleBecomes("Spiel speichern | Morvanta"));
      break;
  }
  if (GetParam().loss == Loss::ServerEnds) {
    server.Kill();
  } else {
    Xdotool("windowclose " + std::to_string(window));
  }
  EXPECT_EQ(ExitCode(), 1) << "it should end by itself, neither killed by a signal nor hanging";
  const std::string message = File("stderr.txt");
  EXPECT_NE(message.find("lost the display"), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  const std::string save = File("game.sav");
  EXPECT_TRUE(save == oldSave || save == "0,0,0,0,0,0,0,0\r\n") << save;
}

INSTANTIATE_TEST_SUITE_P(
    , LostDisplayTest,
    ::testing::Values(LossCase{"ServerEndsInTheMenu", Place::Menu, Loss::ServerEnds},
                      LossCase{"ServerEndsInARound", Place::Round, Loss::ServerEnds},
                      LossCase{"ServerEndsOnTheSaveScreen", Place::SaveScreen, Loss::ServerEnds},
                      LossCase{"WindowDestroyedInTheMenu", Place::Menu, Loss::WindowDestroyed},
                      LossCase{"WindowDestroyedInARound", Place::Round, Loss::WindowDestroyed},
                      LossCase{"WindowDestroyedOnTheSaveScreen", Place::SaveScreen, Loss::WindowDestroyed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameTest, WithoutADisplayItSaysSoAndEndsWithCodeOne) {
  Start(false);
  EXPECT_EQ(ExitCode(), 1);
  const std::string message = File("stderr.txt");
  EXPECT_NE(message.find("no display could be opened"), std::string::npos) << message;
  EXPECT_NE(message.find("MORVANTA_DRIVER=null"), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
}

}  // namespace
}  // namespace game::test
