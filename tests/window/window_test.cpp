#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/bmp_builder.h"
#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "rt/codepage.h"
#include "rt/result.h"
#include "support/temp_folder.h"
#include "window/x_display.h"

namespace rt {
namespace {

using namespace std::chrono_literals;
using test::Geometry;
using test::RootPixel;
using test::Shell;
using test::WaitFor;

constexpr std::uint32_t kRed = 0xFF2010;
constexpr std::uint32_t kBlue = 0x1030E0;

bool WindowActive() {
  ScreenLock();
  const bool active = TheMouse().windowActive;
  ScreenUnlock(1, 0);
  return active;
}

// Fills rows first..last of the visible page, the caller holding the lock.
void FillRows(int first, int last, std::uint32_t color) {
  Surface s = ScreenSurface();
  for (int y = first; y <= last; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(s.Row(y));
    for (int x = 0; x < s.width; ++x) row[x] = 0xFF000000u | color;
  }
}

std::string TakeKey() {
  if (!WaitFor([] { return KeyHit(); })) return "(none)";
  return Inkey();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kDriverOverrideVariable);
    SetDriverList({});
    TheKeyQueue().Clear();
    WindowTitle(Windows1252("Menü | Morvanta"));
    ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
    ASSERT_EQ(Screen()->driver->Name(), "SDL");
    ASSERT_TRUE(WaitFor([&] { return (window = test::FindOwnWindow()) != 0; }));
    ASSERT_TRUE(WaitFor(WindowActive)) << "the new window should get the keyboard focus";
    origin = Geometry(window);
  }
  void TearDown() override {
    Shell("xdotool keyup Shift_L Shift_R Alt_L Return Left a mouseup 1 2>/dev/null");
    ScreenClose();
    TheKeyQueue().Clear();
  }

  std::string Xdotool(const std::string& arguments) { return Shell("xdotool " + arguments + " 2>&1"); }
  void PointerTo(int x, int y) {
    Xdotool("mousemove " + std::to_string(origin.x + x) + " " + std::to_string(origin.y + y));
  }
  bool ShowsAt(int x, int y, std::uint32_t color) { return RootPixel(origin.x + x, origin.y + y) == color; }

  unsigned long window = 0;
  test::WindowGeometry origin;
};

TEST_F(WindowTest, OpensCentredWithTheScreenSizeAndTheTitle) {
  EXPECT_EQ(origin.width, 640);
  EXPECT_EQ(origin.height, 480);
  EXPECT_EQ(origin.x, (1280 - 640) / 2);
  EXPECT_EQ(origin.y, (1024 - 480) / 2);
  EXPECT_EQ(test::WindowName(window), "Menü | Morvanta");

  WindowTitle(Windows1252("Highscore gelöscht | Morvanta"));
  EXPECT_TRUE(WaitFor([&] { return test::WindowName(window) == "Highscore gelöscht | Morvanta"; }))
      << test::WindowName(window);
}

// Window managers and tools read either the modern title property or the
// legacy one; both must hold the title.
TEST_F(WindowTest, BothTitlePropertiesHoldTheTitleInTheEncodingTheyDeclare) {
  struct Row {
    const char* title;  // UTF-8; the program gives it as Windows-1252
    const char* legacyType;
  };
  for (const Row& row : {Row{"Menü | Morvanta", "STRING"}, Row{"Highscore gelöscht | Morvanta", "STRING"},
                         Row{"Preis: 5 € „gut“", "COMPOUND_TEXT"}}) {
    WindowTitle(Windows1252(row.title));
    EXPECT_TRUE(WaitFor([&] { return test::ReadTextProperty(window, "_NET_WM_NAME").utf8 == row.title; }))
        << row.title;
    test::TextProperty legacy;
    EXPECT_TRUE(WaitFor([&] {
      return (legacy = test::ReadTextProperty(window, "WM_NAME")).utf8 == row.title;
    })) << legacy.utf8;
    EXPECT_EQ(legacy.type, row.legacyType) << row.title;
  }
}

TEST_F(WindowTest, HeldKeyReadsThroughMultikeyAndQueuesItsCode) {
  Xdotool("keydown Left");
  EXPECT_TRUE(WaitFor([] { return Multikey(75) == -1; }));
  EXPECT_EQ(TakeKey(), std::string("\xFF\x4B", 2));
  Xdotool("keyup Left");
  EXPECT_TRUE(WaitFor([] { return Multikey(75) == 0; }));

  Xdotool("keydown a");
  EXPECT_TRUE(WaitFor([] { return Multikey(30) == -1; }));
  EXPECT_EQ(TakeKey(), "a");
  Xdotool("keyup a");

  Xdotool("keydown Shift_R");
  EXPECT_TRUE(WaitFor([] { return Multikey(42) == -1 && Multikey(54) == -1; }));
  Xdotool("keyup Shift_R");
  EXPECT_TRUE(WaitFor([] { return Multikey(42) == 0 && Multikey(54) == 0; }));
}

TEST_F(WindowTest, KeysHeldWhileTheFocusWasAwayReadHeldWhenItReturns) {
  test::NoAutoRepeat noRepeats;  // repeats would tell SDL of the keys again
  ASSERT_TRUE(test::HoldKey("LEFT", true));
  ASSERT_TRUE(test::HoldKey("AC01", true));
  ASSERT_TRUE(WaitFor([] { return Multikey(75) == -1 && Multikey(30) == -1; }));
  test::OtherWindow other;
  other.TakeFocus();
  ASSERT_TRUE(WaitFor([] { return !WindowActive(); }));
  EXPECT_EQ(Multikey(75), 0);
  Xdotool("windowfocus --sync " + std::to_string(window));
  ASSERT_TRUE(WaitFor(WindowActive));
  EXPECT_TRUE(WaitFor([] { return Multikey(75) == -1 && Multikey(30) == -1; }));
  ASSERT_TRUE(test::HoldKey("LEFT", false));
  EXPECT_TRUE(WaitFor([] { return Multikey(75) == 0; }));
  EXPECT_EQ(Multikey(30), -1);
  ASSERT_TRUE(test::HoldKey("AC01", false));
  EXPECT_TRUE(WaitFor([] { return Multikey(30) == 0; }));
}

TEST_F(WindowTest, ControlAndFunctionKeysQueueTheirCodes) {
  Xdotool("key Return BackSpace Tab Escape F1 Delete");
  EXPECT_EQ(TakeKey(), "\r");
  EXPECT_EQ(TakeKey(), "\b");
  EXPECT_EQ(TakeKey(), "\t");
  EXPECT_EQ(TakeKey(), "\x1B");
  EXPECT_EQ(TakeKey(), std::string("\xFF\x3B", 2));
  EXPECT_EQ(TakeKey(), std::string("\xFF\x53", 2));
}

// A key that types a character posts only that character, whatever else
// the key means without the text (Delete, Alt+letter and so on). Each row
// presses its keys together; the codes it queues are read as one string.
struct TypedKeys {
  std::vector<std::string> chord;  // XKB key names, pressed in order
  std::string queued;
};

class KeyboardLayoutTest : public WindowTest {
 protected:
  // Reads everything a row queued: Esc, typed after it, ends the row.
  std::string Queued(const TypedKeys& row) {
    if (!test::PressChord(row.chord) || !test::PressChord({"ESC"})) return "(no such key)";
    std::string queued;
    for (std::string key; (key = TakeKey()) != "\x1B" && key != "(none)";) queued += key;
    return queued;
  }
  void ExpectQueued(const std::vector<TypedKeys>& rows) {
    for (const TypedKeys& row : rows) {
      std::string chord;
      for (const std::string& key : row.chord) chord += key + " ";
      EXPECT_EQ(Queued(row), row.queued) << chord;
    }
  }
};

TEST_F(KeyboardLayoutTest, KeypadKeysTypeOnlyTheirCharactersWithNumLockAndNavigateWithout) {
  ASSERT_TRUE(test::PressChord({"NMLK"}));
  ExpectQueued({{{"KPDL"}, "."},
                {{"KP7"}, "7"},
                {{"KP4"}, "4"},
                {{"KP0"}, "0"},
                {{"KPAD"}, "+"},
                {{"KPSU"}, "-"},
                {{"KPMU"}, "*"},
                {{"KPDV"}, "/"},
                {{"LCTL", "KPDV"}, "\xFF\x95"}});
  // Num Lock off: the same keys navigate and type nothing.
  ASSERT_TRUE(test::PressChord({"NMLK"}));
  ExpectQueued({{{"KPDL"}, "\xFF\x53"}, {{"KP4"}, "\xFF\x4B"}, {{"KPAD"}, "+"}});
}

class GermanLayoutTest : public KeyboardLayoutTest {
 protected:
  test::KeyboardLayout german{"de"};  // before the window opens
};

TEST_F(GermanLayoutTest, AltGrCharactersArriveWithoutTheAltCodesOfTheirKeys) {
  ExpectQueued({{{"RALT", "AD01"}, "@"},
                {{"RALT", "AE02"}, "\xFD"},  // superscript two
                {{"RALT", "AE07"}, "{"},
                {{"RALT", "AE08"}, "["},
                {{"RALT", "AE09"}, "]"},
                {{"RALT", "AE10"}, "}"},
                {{"RALT", "AE11"}, "\\"},
                {{"RALT", "AD12"}, "~"},
                {{"RALT", "LSGT"}, "|"},
                {{"RALT", "AB07"}, "\xE6"},  // micro sign
                {{"RALT", "LEFT"}, "\xFF\x9B"}});
  ASSERT_TRUE(test::PressChord({"NMLK"}));
  ExpectQueued({{{"KPDL"}, ","}, {{"KP1"}, "1"}});
}

TEST_F(WindowTest, TypedUmlautsArriveAsCodePage437) {
  ASSERT_TRUE(test::BindSpareKey("udiaeresis"));
  ASSERT_TRUE(test::BindSpareKey("ssharp"));
  Xdotool("type 'üß'");
  EXPECT_EQ(TakeKey(), "\x81");
  EXPECT_EQ(TakeKey(), "\xE1");
}

TEST_F(WindowTest, CloseRequestQueuesTheCloseCodeAndTheWindowStays) {
  test::SendCloseRequest(window);
  EXPECT_EQ(TakeKey(), std::string("\xFFk", 2));
  EXPECT_TRUE(test::WindowExists(window));
  EXPECT_NE(Screen(), nullptr);
}

TEST_F(WindowTest, DragPastTheEdgeFailsOutsideAndResumesInside) {
  PointerTo(100, 120);
  int x = 0, y = 0, wheel = 0, buttons = 0, clipped = 0;
  ASSERT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel, &buttons, &clipped) == ResultOk && x == 100; }));
  EXPECT_EQ(y, 120);
  EXPECT_EQ(buttons, 0);

  Xdotool("mousedown 1");
  EXPECT_TRUE(
      WaitFor([&] { return GetMouse(&x, &y, &wheel, &buttons) == ResultOk && buttons == kButtonLeft; }));
  Xdotool("mousemove 5 5");
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel, &buttons, &clipped) == ResultIllegalCall; }));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(buttons, -1);
  EXPECT_EQ(clipped, -1);
  EXPECT_EQ(LastResult(), ResultIllegalCall);

  PointerTo(300, 200);
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel, &buttons) == ResultOk && x == 300; }));
  EXPECT_EQ(buttons, kButtonLeft);
  Xdotool("mouseup 1");
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel, &buttons) == ResultOk && buttons == 0; }));
}

TEST_F(WindowTest, WheelCountsOneStepPerNotch) {
  PointerTo(50, 50);
  int x = 0, y = 0, start = 0;
  ASSERT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &start) == ResultOk; }));
  Xdotool("click --repeat 3 5");
  int wheel = 0;
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel) == ResultOk && wheel == start - 3; })) << wheel;
  Xdotool("click 4");
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y, &wheel) == ResultOk && wheel == start - 2; })) << wheel;
}

TEST_F(WindowTest, SetMouseMovesThePointerInScreenPixels) {
  ASSERT_EQ(SetMouse(1000, 50, 0, -1), ResultOk);
  const std::string expected = "x:" + std::to_string(origin.x + 639) + " y:" + std::to_string(origin.y + 50);
  EXPECT_TRUE(WaitFor([&] { return Xdotool("getmouselocation").rfind(expected, 0) == 0; }))
      << Xdotool("getmouselocation");
  int x = 0, y = 0;
  EXPECT_EQ(GetMouse(&x, &y), ResultOk);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 50);
}

TEST_F(WindowTest, LockedDrawingAppearsAfterTheOutermostUnlock) {
  ASSERT_TRUE(WaitFor([&] { return ShowsAt(10, 105, 0x000000); }));
  ScreenLock();
  ScreenLock();
  FillRows(100, 109, kRed);
  ScreenUnlock(100, 109);
  // The display thread cannot present while the lock is held; let it try a
  // few cycles to make sure nothing leaks out.
  std::this_thread::sleep_for(60ms);
  EXPECT_TRUE(ShowsAt(10, 105, 0x000000));
  ScreenUnlock(1, 0);
  EXPECT_TRUE(WaitFor([&] { return ShowsAt(10, 105, kRed); }));
  EXPECT_TRUE(ShowsAt(639, 109, kRed));
  EXPECT_TRUE(ShowsAt(10, 110, 0x000000));
}

// At 8 bits the window shows each pixel through the screen's palette, which
// an indexed picture sets.
TEST_F(WindowTest, APicturesPaletteReachesTheWindowAt8Bits) {
  ScreenClose();
  ASSERT_EQ(ScreenMode(18, 8, 1, 0, 0), rt::ResultOk);
  ASSERT_TRUE(WaitFor([&] { return (window = test::FindOwnWindow()) != 0; }));
  origin = Geometry(window);
  test::BmpBuilder picture;
  picture.width = 4;
  picture.height = 2;
  picture.bits = 8;
  picture.palette = {0x000000, 0x20C040, 0xE01070};
  picture.pixel = [](int x, int) { return x < 2 ? 1u : 2u; };
  test::TempFolder folder;
  test::WriteBytes(folder.File("indexed.bmp"), picture.Build());
  ASSERT_EQ(Bload(folder.File("indexed.bmp")), ResultOk);
  EXPECT_TRUE(WaitFor([&] { return ShowsAt(0, 0, 0x20C040) && ShowsAt(3, 1, 0xE01070); }))
      << std::hex << RootPixel(origin.x, origin.y);
  EXPECT_TRUE(ShowsAt(4, 0, 0x000000));
}

// A round redraws the whole screen every frame and marks every row, while
// only a sprite moves: the window is sent the rows that changed, or nothing.
TEST_F(WindowTest, OnlyRowsThatChangedAreSentToTheWindow) {
  auto drawFrame = [](int spriteX) {
    ScreenLock();
    FillRows(0, 479, kBlue);
    Surface s = ScreenSurface();
    for (int y = 200; y < 210; ++y) {
      for (int x = spriteX; x < spriteX + 10; ++x)
        reinterpret_cast<std::uint32_t*>(s.Row(y))[x] = 0xFF000000u | kRed;
    }
    ScreenUnlock(0, 479);
  };
  drawFrame(100);
  ASSERT_TRUE(WaitFor([&] { return ShowsAt(105, 205, kRed) && ShowsAt(0, 479, kBlue); }));
  std::this_thread::sleep_for(100ms);
  test::DamageWatcher damage(window);
  ASSERT_TRUE(damage.Ready());

  for (int frame = 0; frame < 10; ++frame) {
    drawFrame(100);
    std::this_thread::sleep_for(10ms);
  }
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(damage.Drawn().empty()) << "frames that changed nothing were sent";

  drawFrame(101);
  ASSERT_TRUE(WaitFor([&] { return ShowsAt(110, 205, kRed) && ShowsAt(100, 205, kBlue); }));
  const std::vector<test::DamageWatcher::Area> drawn = damage.Drawn();
  EXPECT_FALSE(drawn.empty());
  for (const auto& area : drawn) {
    EXPECT_GE(area.y, 200);
    EXPECT_LE(area.y + area.height, 210);
  }
}

class FullScreenTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(windowManager.Ready());
    WindowTest::SetUp();
  }
  test::WindowManager windowManager;
};

TEST_F(FullScreenTest, AltEnterTogglesFullScreenAndBack) {
  ScreenLock();
  FillRows(0, 0, kBlue);
  FillRows(479, 479, kRed);
  ScreenUnlock(0, 479);
  ASSERT_TRUE(WaitFor([&] { return ShowsAt(0, 479, kRed); }));

  Xdotool("key alt+Return");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).width == 1280; })) << Geometry(window).width;
  // Scaled by 2 and centred: 1024 - 960 leaves 32 black rows above and below.
  EXPECT_TRUE(WaitFor([] { return RootPixel(0, 32) == kBlue && RootPixel(1279, 991) == kRed; }));
  EXPECT_EQ(RootPixel(640, 31), 0x000000u);
  EXPECT_EQ(RootPixel(640, 992), 0x000000u);

  Xdotool("key alt+Return");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).width == 640; }));
  origin = Geometry(window);
  EXPECT_TRUE(WaitFor([&] { return ShowsAt(0, 0, kBlue) && ShowsAt(639, 479, kRed); }));

  EXPECT_FALSE(KeyHit()) << "the switch's Enter must not be queued";
  EXPECT_EQ(Multikey(28), 0);
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(FullScreenTest, MaximisingSwitchesToFullScreen) {
  ScreenLock();
  FillRows(0, 0, kBlue);
  FillRows(479, 479, kRed);
  ScreenUnlock(0, 479);
  ASSERT_TRUE(WaitFor([&] {
    return Has(test::AtomListProperty(window, "_NET_WM_ALLOWED_ACTIONS"), "_NET_WM_ACTION_MAXIMIZE_HORZ");
  })) << "the window manager should offer to maximise the window";
  test::RequestMaximise(window);
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).width == 1280; })) << Geometry(window).width;
  EXPECT_TRUE(WaitFor(
      [&] { return Has(test::AtomListProperty(window, "_NET_WM_STATE"), "_NET_WM_STATE_FULLSCREEN"); }));
  // Scaled and centred as after Alt+Enter.
  EXPECT_TRUE(WaitFor([] { return RootPixel(0, 32) == kBlue && RootPixel(1279, 991) == kRed; }));
  EXPECT_EQ(RootPixel(640, 31), 0x000000u);

  Xdotool("key alt+Return");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).width == 640 && Geometry(window).height == 480; }))
      << Geometry(window).width << " x " << Geometry(window).height;

  // Growing it by other means does not last: it keeps its size.
  Xdotool("windowsize " + std::to_string(window) + " 900 700");
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).width == 640 && Geometry(window).height == 480; }))
      << Geometry(window).width << " x " << Geometry(window).height;
  origin = Geometry(window);
  EXPECT_TRUE(WaitFor([&] { return ShowsAt(0, 0, kBlue) && ShowsAt(639, 479, kRed); }));
}

// A program that forbids switching gets a window without a maximise button.
TEST_F(FullScreenTest, WithoutSwitchingTheWindowCannotBeMaximised) {
  ScreenClose();
  ASSERT_EQ(ScreenMode(18, 32, 2, kFlagNoSwitch, 0), rt::ResultOk);
  ASSERT_TRUE(WaitFor([&] { return (window = test::FindOwnWindow()) != 0; }));
  ASSERT_TRUE(WaitFor([&] { return !test::AtomListProperty(window, "_NET_WM_ALLOWED_ACTIONS").empty(); }));
  EXPECT_FALSE(
      Has(test::AtomListProperty(window, "_NET_WM_ALLOWED_ACTIONS"), "_NET_WM_ACTION_MAXIMIZE_HORZ"));
  test::RequestMaximise(window);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(Geometry(window).width, 640);
  EXPECT_FALSE(Has(test::AtomListProperty(window, "_NET_WM_STATE"), "_NET_WM_STATE_FULLSCREEN"));
}

// Full screen scales the picture by 2 and puts it 32 rows down: the pointer
// still reads and moves in screen pixels, and the black band is outside.
TEST_F(FullScreenTest, ThePointerKeepsToScreenPixelsInFullScreen) {
  Xdotool("key alt+Return");
  ASSERT_TRUE(WaitFor([&] { return Geometry(window).width == 1280; }));
  int x = 0, y = 0;
  Xdotool("mousemove 641 513");
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y) == ResultOk && x == 320 && y == 240; }))
      << x << ", " << y;
  Xdotool("mousemove 641 20");
  EXPECT_TRUE(WaitFor([&] { return GetMouse(&x, &y) == ResultIllegalCall; }));

  ASSERT_EQ(SetMouse(100, 50, -1, -1), ResultOk);
  EXPECT_TRUE(WaitFor([&] { return Xdotool("getmouselocation").rfind("x:200 y:132", 0) == 0; }))
      << Xdotool("getmouselocation");
}

// A signal ends a program with an open window as it ends any other.
TEST(WindowSignals, InterruptEndsTheProgramPromptly) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (ScreenMode(18, 32, 1, 0, 0) != rt::ResultOk) _exit(3);
    for (;;) pause();
  }
  ASSERT_TRUE(WaitFor([&] {
    return !Shell("xdotool search --onlyvisible --pid " + std::to_string(child) + " 2>/dev/null").empty();
  }));
  kill(child, SIGINT);
  int status = 0;
  EXPECT_TRUE(WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }));
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGINT);
}

}  // namespace
}  // namespace rt
