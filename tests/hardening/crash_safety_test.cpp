// The save and highscore files survive the program being killed at any
// moment: a child process writes both records in a loop, as the game does, the test kills it
// with SIGKILL at random times, and each file must then hold a whole record,
// the one before or a newer one, never an empty or cut one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "game/game_state.h"
#include "game/shell/highscore.h"
#include "game/shell/save_file.h"
#include "support/temp_folder.h"

namespace rt {
namespace {

using test::ReadBytes;
using test::TempFolder;

// Generation g's records. The name's length varies with g, so that a record
// cut short or mixed from two generations cannot pass for a whole one.
constexpr int kSaveItems = 8;
int SaveItem(int generation, int i) { return generation * 8 + i; }
std::string PlayerName(int generation) { return "Spieler " + std::string(generation % 23, 'x'); }

std::string ExpectedSave(int g) {
  std::string record;
  for (int i = 0; i < kSaveItems; ++i)
    record += std::to_string(SaveItem(g, i)) + (i + 1 < kSaveItems ? "," : "\r\n");
  return record;
}
std::string ExpectedHighscore(int g) {
  return std::to_string(g) + ",\"05-12-2026\"," + std::to_string(g % 100) + ",\"" + PlayerName(g) + "\"\r\n";
}

// With the game's own writers.
void WriteSave(const std::string& path, int g) {
  game::GameState state;
  int i = 0;
  for (int* field : {&state.objectY, &state.catcherX, &state.points, &state.level, &state.stones,
                     &state.objectKind, &state.lives, &state.objectX}) {
    *field = SaveItem(g, i++);
  }
  game::WriteSaveFile(path, state);
}
void WriteHighscore(const std::string& path, int g) {
  game::WriteHighscore(path, {g, "05-12-2026", g % 100, PlayerName(g)});
}

// The generation a file holds, or -1 when it is not a whole record of one.
int GenerationIn(const std::string& bytes, std::string (*expected)(int)) {
  std::size_t digits = 0;
  while (digits < bytes.size() && digits < 9 && std::isdigit(static_cast<unsigned char>(bytes[digits])))
    ++digits;
  if (digits == 0) return -1;
  const int leading = std::stoi(bytes.substr(0, digits));
  // The save's first item is 8 g, the highscore's g.
  for (int g : {leading / 8, leading}) {
    if (bytes == expected(g)) return g;
  }
  return -1;
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  std::string SavePath() const { return folder_.File("game.sav"); }
  std::string HighscorePath() const { return folder_.File("game.hsc"); }

  // Forks a writer of generations first, first + 1, ... that dies with us.
  pid_t StartWriter(int first) {
    const pid_t pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (int g = first;; ++g) {
        WriteSave(SavePath(), g);
        WriteHighscore(HighscorePath(), g);
      }
    }
    return pid;
  }

  TempFolder folder_;
};

TEST_F(CrashSafetyTest, KilledWritersLeaveTheOldOrANewWholeRecordInBothFiles) {
  WriteSave(SavePath(), 0);
  WriteHighscore(HighscorePath(), 0);

  // Kill moments spread over a few write cycles, whatever the disk's speed.
  const auto start = std::chrono::steady_clock::now();
  WriteSave(SavePath(), 0);
  WriteHighscore(HighscorePath(), 0);
  const auto cycle =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(20260512);
  long long maxDelayUs = 4 * cycle.count() + 200;

  // On a loaded machine a writer may not run at all before its kill, so the
  // kill moments stretch until enough of them have met writers at work.
  int save = 0, highscore = 0, killsMidRun = 0;
  for (int kill = 0; kill < 300 || (killsMidRun <= 30 && kill < 3000); ++kill) {
    std::uniform_int_distribution<long long> delayUs(0, maxDelayUs);
    const pid_t writer = StartWriter(std::max(save, highscore) + 1);
    ASSERT_GT(writer, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ASSERT_EQ(::kill(writer, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status));

    const int newSave = GenerationIn(ReadBytes(SavePath()), ExpectedSave);
    const int newHighscore = GenerationIn(ReadBytes(HighscorePath()), ExpectedHighscore);
    ASSERT_GE(newSave, save) << "game.sav after kill " << kill << ": \"" << ReadBytes(SavePath()) << "\"";
    ASSERT_GE(newHighscore, highscore)
        << "game.hsc after kill " << kill << ": \"" << ReadBytes(HighscorePath()) << "\"";
    if (newSave != save || newHighscore != highscore) {
      ++killsMidRun;
    } else {
      maxDelayUs += maxDelayUs / 10 + 1;
    }
    save = newSave;
    highscore = newHighscore;
  }
  // The kills must have met writers at work, not only before their first write.
  EXPECT_GT(killsMidRun, 30);

  // The next writes clear away what the killed writers left.
  WriteSave(SavePath(), save + 1);
  WriteHighscore(HighscorePath(), highscore + 1);
  EXPECT_EQ(folder_.Listing(), "game.hsc game.sav");
}

}  // namespace
}  // namespace rt
