// Hours of play on the virtual clock: a scripted player runs the real
// program from the menu and, over and over, plays, pauses, leaves, saves,
// loads, loses, types a name, views and deletes the highscore, reads the
// instructions and idles. Each time the menu comes back the test looks at
// the program's resources: no file number in use, both files whole, the
// stack where it was, the heap not growing.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/round/texts.h"
#include "game/scancodes.h"
#include "game/shell/shell.h"
#include "game/shell/shell_texts.h"
#include "gfx/screen_state.h"
#include "input/clock.h"
#include "rt/file_channels.h"
#include "support/scenario.h"
#include "support/scripted_driver.h"
#include "support/temp_folder.h"

namespace game {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kPlainHeap = false;  // the sanitizers keep their own heap and check leaks themselves
#else
constexpr bool kPlainHeap = true;
#endif

constexpr long long kMinute = 60'000;
constexpr long long kRunMs = 4 * 60 * kMinute;

enum class Errand { Play, Save, LoadAndLose, LoadNothing, Highscore, DeleteHighscore, Instructions, Idle };
constexpr Errand kErrands[] = {
    Errand::Play,        Errand::Save, Errand::LoadAndLose, Errand::LoadNothing, Errand::DeleteHighscore,
    Errand::Idle,        Errand::Play, Errand::Save,        Errand::LoadAndLose, Errand::Highscore,
    Errand::Instructions};

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string FileText(const std::string& path) { return rt::test::ReadBytes(path); }

// Whether `text` has the `shape`: 'i' stands for an integer, 'q' for a
// quoted text without quotes or line ends, other characters for themselves.
bool HasShape(std::string_view text, std::string_view shape) {
  std::size_t at = 0;
  const auto take = [&](auto accepts) {
    const std::size_t start = at;
    while (at < text.size() && accepts(text[at])) ++at;
    return at > start;
  };
  for (char c : shape) {
    if (c == 'i') {
      if (at < text.size() && text[at] == '-') ++at;
      if (!take([](char d) { return d >= '0' && d <= '9'; })) return false;
    } else if (c == 'q') {
      if (at >= text.size() || text[at++] != '"') return false;
      take([](char t) { return t != '"' && t != '\r' && t != '\n'; });
      if (at >= text.size() || text[at++] != '"') return false;
    } else if (at >= text.size() || text[at++] != c) {
      return false;
    }
  }
  return at == text.size();
}

// How many file numbers have a file open (FileInputBegin accepts only those).
int OpenFileNumbers() {
  int open = 0;
  for (int number = 1; number <= 255; ++number) open += rt::FileInputBegin(number) == rt::ResultOk;
  rt::SetInputText({});
  return open;
}

// What the test saw at one visit of the menu.
struct MenuVisit {
  long long atMs;
  std::uintptr_t stack;
  std::size_t heapBytes;
  int openFileNumbers;
  std::string save;
  std::string highscore;
};

// Plays from inside the program's sleeps; knows the screen by the titles
// the program sets.
class Player {
 public:
  Player(Shell& shell, rt::VirtualClock& clock) : shell_(shell), clock_(clock) {}

  void Slept() {
    const int marker = 0;
    const auto here = reinterpret_cast<std::uintptr_t>(&marker);
    deepestStack_ = std::min(deepestStack_, here);
    if (!rt::test::ScriptedDriver::Current()) return;  // start-up before its screen opens
    rt::test::ScriptedDriver& driver = *rt::test::ScriptedDriver::Current();
    const std::vector<std::string>& titles = driver.Titles();
    for (std::size_t i = 1; i < titles.size(); ++i) Entered(titles[i], here);
    driver.ForgetTitles();
    Act(driver);
  }

  const std::vector<MenuVisit>& Visits() const { return visits_; }
  // The deepest stack of each stretch between two menus.
  const std::vector<std::uintptr_t>& DeepestStacks() const { return deepestPerErrand_; }
  int Count(Errand errand) const { return counts_[int(errand)]; }
  int NamesTyped() const { return namesTyped_; }
  int Pauses() const { return pauses_; }

 private:
  long long Now() const { return clock_.SleptMs(); }

  void Entered(const std::string& title, std::uintptr_t stack) {
    if (title == shell_text::kMenuTitle) return EnteredMenu(stack);
    if (title == text::kPausedTitle) {
      ++pauses_;
      resumeAtMs_ = Now() + 20 * kMinute;
    } else if (title == shell_text::kNewRecordTitle) {
      toType_ = "Spieler " + std::to_string(++namesTyped_) + "\r";
    } else if (title == shell_text::kInstructionsTitle) {
      instructionKeys_ = 2;
      keyAtMs_ = Now() + 2000;
    } else if (StartsWith(title, text::kPlayTitlePrefix)) {
      ++frames_;
    }
  }

  void EnteredMenu(std::uintptr_t stack) {
    // Start-up sets the menu's title before its splash; the menu comes after.
    if (!startedUp_) {
      startedUp_ = true;
      return;
    }
    inMenu_ = true;
    leaving_ = false;
    frames_ = 0;
    struct mallinfo2 heap = mallinfo2();
    visits_.push_back({Now(), stack, heap.uordblks, OpenFileNumbers(), FileText(shell_.saveFilePath),
                       FileText(shell_.highscoreFilePath)});
    deepestPerErrand_.push_back(deepestStack_);
    deepestStack_ = UINTPTR_MAX;
    const Errand next = kErrands[errand_ % std::size(kErrands)];
    errandAtMs_ = Now() + (next == Errand::Idle ? 10 * kMinute : 200);
  }

  // Holds a key for a while: long enough for a menu pass or a frame to see it.
  void Press(rt::test::ScriptedDriver& driver, int scancode, long long forMs) {
    driver.HoldKey(scancode, true);
    pressed_ = scancode;
    releaseAtMs_ = Now() + forMs;
  }

  void Act(rt::test::ScriptedDriver& driver) {
    if (releaseAtMs_ >= 0 && Now() >= releaseAtMs_) {
      driver.HoldKey(pressed_, false);
      releaseAtMs_ = -1;
    }
    if (!toType_.empty()) {
      driver.Type(static_cast<unsigned char>(toType_.front()));
      toType_.erase(0, 1);
    } else if (resumeAtMs_ >= 0 && Now() >= resumeAtMs_) {
      resumeAtMs_ = -1;
      driver.Type(' ');
    } else if (instructionKeys_ > 0 && Now() >= keyAtMs_) {
      --instructionKeys_;
      keyAtMs_ = Now() + 2000;
      driver.Type(' ');
    } else if (viewKeyAtMs_ >= 0 && Now() >= viewKeyAtMs_) {
      viewKeyAtMs_ = -1;
      Press(driver, current_ == Errand::DeleteHighscore ? scancode::kDelete : scancode::kSpace, 400);
    } else if (inMenu_ && Now() >= errandAtMs_) {
      StartErrand(driver);
    } else if (!inMenu_ && frames_ > 0) {
      Steer(driver);
    }
  }

  void StartErrand(rt::test::ScriptedDriver& driver) {
    inMenu_ = false;
    current_ = kErrands[errand_++ % std::size(kErrands)];
    ++counts_[int(current_)];
    if (Now() >= kRunMs) return Press(driver, scancode::kEsc, 50);  // the end of the session
    switch (current_) {
      case Errand::Play: return Press(driver, scancode::kSpace, 50);
      case Errand::Save: return Press(driver, scancode::kS, 50);
      case Errand::LoadAndLose:
      case Errand::LoadNothing: return Press(driver, scancode::kF, 50);
      case Errand::Highscore:
      case Errand::DeleteHighscore: viewKeyAtMs_ = Now() + 1000; return Press(driver, scancode::kH, 50);
      case Errand::Instructions: return Press(driver, scancode::kF1, 50);
      case Errand::Idle:
        inMenu_ = true;
        errandAtMs_ = Now();
        return;
    }
  }

  // Playing catches what is good and dodges the rest, pauses once and leaves
  // after a while; losing does the opposite. Both hurry the objects down.
  void Steer(rt::test::ScriptedDriver& driver) {
    const GameState& s = shell_.state;
    const bool good = s.objectKind == Code(ObjectKind::WhiteStone) ||
                      s.objectKind == Code(ObjectKind::Money) || s.objectKind == Code(ObjectKind::Heart);
    const bool losing = current_ == Errand::LoadAndLose;
    const int aim = good != losing ? s.objectX - 7 : (s.objectX > 320 ? s.objectX - 120 : s.objectX + 120);
    driver.HoldKey(scancode::kRight, s.catcherX < aim - 2);
    driver.HoldKey(scancode::kLeft, s.catcherX > aim + 2);
    driver.HoldKey(scancode::kDown, true);
    if (!losing && frames_ == 400 && releaseAtMs_ < 0) Press(driver, scancode::kP, 4);
    if (!losing && frames_ >= 1500 && !leaving_) {
      leaving_ = true;
      Press(driver, scancode::kEsc, 50);
    }
  }

  Shell& shell_;
  rt::VirtualClock& clock_;
  std::size_t errand_ = 0;
  Errand current_ = Errand::Idle;
  int counts_[8] = {};
  bool startedUp_ = false;
  bool inMenu_ = false;
  bool leaving_ = false;
  int pressed_ = 0;
  long long releaseAtMs_ = -1;
  long long viewKeyAtMs_ = -1;
  long long errandAtMs_ = 0;
  long long resumeAtMs_ = -1;
  int instructionKeys_ = 0;
  long long keyAtMs_ = 0;
  int frames_ = 0;
  int pauses_ = 0;
  int namesTyped_ = 0;
  std::string toType_;
  std::uintptr_t deepestStack_ = UINTPTR_MAX;
  std::vector<std::uintptr_t> deepestPerErrand_;
  std::vector<MenuVisit> visits_;
};

TEST(LongRunTest, HoursOfEveryScreenLeakNothingAndKeepTheFilesWhole) {
  test::Scenario scenario;
  scenario.Clock().SetLocalTime(2026, 12, 8, 20, 0, 0);
  scenario.GiveUpAfter(30 * kMinute);  // the player idles in the menu for 10 and pauses for 20
  Player player(scenario.TheShell(), scenario.Clock());
  scenario.OnSleep([&](int) {
    player.Slept();
    // A session that does not end is a hang; end it as the player would.
    if (scenario.NowMs() > kRunMs + 60 * kMinute && rt::Screen()) scenario.CloseButton();
  });
  scenario.RunProgram();

  EXPECT_GE(scenario.NowMs(), kRunMs);
  EXPECT_LT(scenario.NowMs(), kRunMs + 60 * kMinute) << "the session had to be ended with the close button";
  for (Errand e : {Errand::Play, Errand::Save, Errand::LoadAndLose, Errand::LoadNothing, Errand::Highscore,
                   Errand::DeleteHighscore, Errand::Instructions, Errand::Idle}) {
    EXPECT_GE(player.Count(e), 2) << "errand " << int(e);
  }
  EXPECT_GE(player.Pauses(), 2);
  EXPECT_GE(player.NamesTyped(), 2);
  EXPECT_EQ(rt::FreeFileNumber(), 1);

  const std::vector<MenuVisit>& visits = player.Visits();
  ASSERT_GE(visits.size(), 20u);
  const MenuVisit& settled = visits[std::size(kErrands)];  // after a whole round of errands
  for (const MenuVisit& v : visits) {
    SCOPED_TRACE("menu at " + std::to_string(v.atMs / kMinute) + " virtual minutes");
    EXPECT_EQ(v.openFileNumbers, 0);
    EXPECT_EQ(v.stack, visits.front().stack) << "the menu runs deeper in the stack than at first";
    EXPECT_TRUE(v.save.empty() || v.save == "0\r\n" || HasShape(v.save, "i,i,i,i,i,i,i,i\r\n")) << v.save;
    EXPECT_TRUE(v.highscore.empty() || HasShape(v.highscore, "i,q,i,q\r\n")) << v.highscore;
    EXPECT_TRUE(!kPlainHeap || v.atMs <= settled.atMs || v.heapBytes <= settled.heapBytes + 64 * 1024)
        << v.heapBytes << " bytes in use, " << settled.heapBytes << " after the first errands";
  }
  const auto& deepest = player.DeepestStacks();
  const std::uintptr_t firstDeepest =
      *std::min_element(deepest.begin(), deepest.begin() + std::size(kErrands));
  EXPECT_GE(*std::min_element(deepest.begin(), deepest.end()), firstDeepest - 1024)
      << "later screens ran deeper in the stack than the same screens at first";
}

}  // namespace
}  // namespace game
