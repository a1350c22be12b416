// When memory runs out, every runtime operation that needs some gives its
// failure result (or its documented empty value), lets no exception out and
// leaves its state whole: the screen, the lock, the channels and the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "failing_allocations.h"
#include "gfx/bmp.h"
#include "gfx/bmp_builder.h"
#include "gfx/display_driver.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "input/line_input.h"
#include "rt/file_channels.h"
#include "rt/strings.h"
#include "support/runtime_fixture.h"
#include "support/scripted_driver.h"
#include "support/temp_folder.h"

namespace rt {
namespace {

using test::FailingAllocations;

constexpr std::size_t kEvery = 0;          // every allocation fails
constexpr std::size_t kLarge = 64 * 1024;  // only large ones: pages, pictures
const std::string kLongText(100, 'x');     // too long to be kept without memory
const std::string kTitle = "Spielstand | " + kLongText;

class OutOfMemoryTest;

// One operation run while allocations fail, and what must hold after it.
struct Case {
  const char* name;
  std::size_t failFrom;
  std::function<void(OutOfMemoryTest&)> prepare;
  std::function<Result(OutOfMemoryTest&)> operation;
  Result expected;
  std::function<bool(OutOfMemoryTest&)> holdsAfter;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class OutOfMemoryTest : public test::RuntimeTest, public ::testing::WithParamInterface<Case> {
 public:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen(test::ScriptedDriver::Entry());
    screenId = Screen()->id;
  }
  void TearDown() override {
    CloseAllFiles();
    image.reset();
    RuntimeTest::TearDown();
  }

  std::string Listing() const { return folder.Listing(); }
  static std::uint32_t ScreenPixel(int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(ScreenSurface().Row(y))[x];
  }

  test::TempFolder folder;
  // Made before allocations fail.
  const std::string picture = folder.File("red.bmp");
  const std::string screenshot = folder.File("shot.bmp");
  const std::string saveFile = folder.File("game.sav");
  const std::string highscoreFile = folder.File("game.hsc");
  int screenId = 0;
  ImagePtr image;
  std::string text = "vorher";  // what an operation may give back
  using RuntimeTest::clock;
};

TEST_P(OutOfMemoryTest, GivesItsFailureAndKeepsItsState) {
  const Case& c = GetParam();
  if (c.prepare) c.prepare(*this);
  Result result = ResultOk;
  bool escaped = false;
  try {
    FailingAllocations failing(c.failFrom);
    result = c.operation(*this);
  } catch (...) {
    escaped = true;
  }
  ASSERT_FALSE(escaped) << "an exception left the runtime";
  EXPECT_EQ(result, c.expected);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->lockCount, 0) << "the screen lock stays taken";
  if (c.holdsAfter) {
    EXPECT_TRUE(c.holdsAfter(*this));
  }
}

void WritePicture(const std::string& path) {
  test::BmpBuilder picture;
  picture.width = 64;
  picture.height = 64;
  picture.pixel = [](int, int) { return 0xFF0000u; };
  test::WriteBytes(path, picture.Build());
}

const Case kCases[] = {
    {"ScreenModeKeepsTheOpenScreen", kEvery, nullptr, [](auto&) { return ScreenMode(18, 32, 2, 0, 0); },
     ResultIllegalCall, [](auto& t) { return Screen()->id == t.screenId && Screen()->width == 640; }},
    {"ScreenModeWithoutRoomForPagesKeepsTheOpenScreen", kLarge, nullptr,
     [](auto&) { return ScreenMode(20, 32, 2, 0, 0); }, ResultIllegalCall,
     [](auto& t) { return Screen()->id == t.screenId && Screen()->width == 640; }},
    {"ImageCreate", kEvery, nullptr,
     [](auto&) {
       ImagePtr made(ImageCreate(100, 100));
       return made ? ResultOk : LastResult();
     },
     ResultOutOfMemory, nullptr},
    {"PutOfAnImageKeyedOntoItself", kEvery, [](auto& t) { t.image.reset(ImageCreate(32, 32)); },
     [](auto& t) { return Put(t.image.get(), 1, 1, t.image.get(), kOmitted, 0, 0, 0, 0, PutTrans); },
     ResultOutOfMemory, nullptr},
    {"BloadLeavesTheScreen", kEvery, [](auto& t) { WritePicture(t.picture); },
     [](auto& t) { return Bload(t.picture); }, ResultOutOfMemory,
     [](auto&) { return OutOfMemoryTest::ScreenPixel(0, 0) == 0xFF000000u; }},
    {"BsaveWritesNothing", kEvery, nullptr, [](auto& t) { return Bsave(t.screenshot); }, ResultOutOfMemory,
     [](auto& t) { return t.Listing().empty(); }},
    {"FileOpenLeavesTheNumberFree", kEvery, nullptr,
     [](auto& t) { return FileOpen(t.saveFile, FileModeOutput, 1); }, ResultOutOfMemory,
     [](auto& t) { return FreeFileNumber() == 1 && t.Listing().empty(); }},
    {"FileWriteStringWritesNoPartOfTheItem", kEvery,
     [](auto& t) {
       FileOpen(t.saveFile, FileModeOutput, 1);
       FileWriteInt(1, 7, false);
     },
     [](auto&) { return FileWriteString(1, kLongText, true); }, ResultOutOfMemory,
     [](auto& t) { return FileClose(1) == ResultOk && test::ReadBytes(t.saveFile) == "7,"; }},
    {"FileCloseCommitsTheNewFile", kEvery,
     [](auto& t) {
       FileOpen(t.saveFile, FileModeOutput, 1);
       FileWriteInt(1, 5, true);
     },
     [](auto&) { return FileClose(1); }, ResultOk,
     [](auto& t) { return test::ReadBytes(t.saveFile) == "5\r\n" && t.Listing() == "game.sav"; }},
    {"FileInputStringKeepsTheValue", kEvery,
     [](auto& t) {
       test::WriteBytes(t.highscoreFile, "\"" + kLongText + "\",3\r\n");
       FileOpen(t.highscoreFile, FileModeInput, 2);
       FileInputBegin(2);
     },
     [](auto& t) { return FileInputString(t.text); }, ResultOutOfMemory,
     [](auto& t) { return t.text == "vorher" && FileClose(2) == ResultOk; }},
    {"StrConcatGivesTheEmptyString", kEvery, nullptr,
     [](auto& t) {
       t.text = StrConcat(kLongText, kLongText);
       return ResultOk;
     },
     ResultOk, [](auto& t) { return t.text.empty(); }},
    {"PrintNeedsNoMemory", kEvery, nullptr,
     [](auto&) {
       Print(kLongText, false);
       return ResultOk;
     },
     ResultOk, [](auto&) { return Screen()->text.shadow[0][79].ch == 'x' && Screen()->text.cursorRow == 1; }},
    {"InputLineKeepsWhatFits", kEvery,
     [](auto& t) {
       int typed = 0;
       t.clock.onSleep = [typed](int) mutable {
         test::ScriptedDriver::Current()->Type(++typed <= 20 ? 'x' : 13);
       };
     },
     [](auto& t) {
       t.text = InputLine("", false, false);
       return ResultOk;
     },
     ResultOk,
     // Short lines live inside the string itself; the first character beyond
     // needs memory and is dropped, and so is every later one.
     [](auto& t) {
       return !t.text.empty() && t.text.size() < 20 && t.text.find_first_not_of('x') == std::string::npos;
     }},
    {"WindowTitleKeepsTheTitleForLaterScreens", kEvery, nullptr,
     [](auto&) {
       WindowTitle(kTitle);
       return ResultOk;
     },
     ResultOk, [](auto&) { return CurrentWindowTitle() == kTitle; }},
};

INSTANTIATE_TEST_SUITE_P(, OutOfMemoryTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

std::unique_ptr<DisplayDriver> CreateWithoutMemory() { throw std::bad_alloc(); }

// A back end that cannot get its memory (or its thread) did not open: the
// next one is tried, and without one no screen is open, result 1.
using BackEndWithoutMemoryTest = test::RuntimeTest;

TEST_F(BackEndWithoutMemoryTest, CountsAsOneThatDidNotOpen) {
  const DriverEntry withoutMemory{"without memory", &CreateWithoutMemory};
  SetDriverList({withoutMemory, test::ScriptedDriver::Entry()});
  EXPECT_EQ(ScreenMode(18, 32, 2, 0, 0), ResultOk);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->driver->Name(), "scripted");

  SetDriverList({withoutMemory});
  EXPECT_EQ(ScreenMode(18, 32, 2, 0, 0), ResultIllegalCall);
  EXPECT_EQ(Screen(), nullptr);
}

}  // namespace
}  // namespace rt
