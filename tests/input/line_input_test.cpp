#include "input/line_input.h"

#include <gtest/gtest.h>

#include <deque>

#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "input/key_queue.h"
#include "rt/file_channels.h"
#include "support/runtime_fixture.h"
#include "support/scripted_driver.h"

namespace rt {
namespace {

using test::ScriptedDriver;

constexpr int kLeft = 0x4BFF, kUp = 0x48FF, kDown = 0x50FF, kHome = 0x47FF, kEnd = 0x4FFF, kDelete = 0x53FF,
              kF1 = 0x3BFF;

class LineInputTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen(ScriptedDriver::Entry());
    driver = ScriptedDriver::Current();
    // Each wait for a key gets the next scripted one; Enter once they run out.
    clock.onSleep = [this](int) {
      if (keys.empty()) {
        driver->Type(13);
        ++extraEnters;
        return;
      }
      driver->Type(keys.front());
      keys.pop_front();
    };
  }

  std::string Type(std::initializer_list<int> codes, std::string_view prompt = "") {
    keys.assign(codes);
    keys.push_back(13);
    std::string line = InputLine(prompt, false, false);
    EXPECT_EQ(extraEnters, 0) << "the editor asked for more keys than the script has";
    return line;
  }

  // The characters of a row of the console, 0-based.
  static std::string Row(int row, int from = 0, int count = 80) {
    const auto& shadow = Screen()->text.shadow[0];
    std::string s;
    for (int c = from; c < from + count; ++c) s += char(shadow[std::size_t(row) * 80 + c].ch);
    return s;
  }

  ScriptedDriver* driver = nullptr;
  std::deque<int> keys;
  int extraEnters = 0;
};

TEST_F(LineInputTest, InsertsAtTheCursor) {
  EXPECT_EQ(Type({'A', 'B', 'C', kLeft, kLeft, 'X'}), "AXBC");
  EXPECT_EQ(Row(0, 0, 5), "AXBC ");
}

TEST_F(LineInputTest, EnterOnAnEmptyLineGivesTheEmptyString) { EXPECT_EQ(Type({}), ""); }

TEST_F(LineInputTest, BackspaceAtTheStartIsSilentAndDeleteAtTheEndBeeps) {
  EXPECT_EQ(Type({'a', 'b', kHome, 8, kEnd, kDelete}), "ab");
  EXPECT_EQ(driver->Beeps(), 1);
  EXPECT_EQ(Type({'a', 'b', 'c', 8, kLeft, 8}), "b");
  EXPECT_EQ(driver->Beeps(), 1);
}

TEST_F(LineInputTest, DeleteClosesTheGapOnScreen) {
  EXPECT_EQ(Type({'a', 'b', 'c', kHome, kDelete}), "bc");
  EXPECT_EQ(Row(0, 0, 3), "bc ");
}

TEST_F(LineInputTest, TabFillsToTheNextMultipleOfEight) {
  EXPECT_EQ(Type({'a', 'b', 'c', 9, 'x'}), "abc     x");
  EXPECT_EQ(Type({'1', '2', '3', '4', '5', '6', '7', '8', 9, 'x'}), "12345678        x");
}

TEST_F(LineInputTest, EscClearsTheLineOnScreenAndInMemory) {
  EXPECT_EQ(Type({'A', 'n', 'n', 'a', 27, 'B', 'o', 'b'}, "Name: "), "Bob");
  EXPECT_EQ(Row(0, 0, 11), "Name: Bob  ");
}

TEST_F(LineInputTest, CloseButtonAndOtherKeysAreIgnored) {
  EXPECT_EQ(Type({'A', kKeyClose, kF1, 1, 'B'}), "AB");
}

TEST_F(LineInputTest, UmlautIsTheCodePage437Byte) { EXPECT_EQ(Type({129, 225}), "\x81\xE1"); }

TEST_F(LineInputTest, UpAndDownMoveByARow) {
  std::initializer_list<int> many = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
  keys.clear();
  std::string typed;
  for (int i = 0; i < 9; ++i) {
    keys.insert(keys.end(), many);
    typed += "0123456789";
  }
  // 90 characters: Up from position 90 reaches 10; Down from 10 is allowed (90 >= 90).
  keys.insert(keys.end(), {kUp, 'X', kDown, kDown, 'Y', 13});
  const std::string line = InputLine("", false, false);
  std::string expected = typed;
  expected.insert(10, "X");
  expected.insert(91, "Y");  // Down once from 11 to 91, the second Down has no room
  EXPECT_EQ(line, expected);
  EXPECT_EQ(Row(1, 0, 12), expected.substr(80, 12));
}

TEST_F(LineInputTest, WrapsAndScrollsAtTheBottom) {
  Print("top line", false);
  Locate(30, 76);
  EXPECT_EQ(Type({'a', 'b', 'c', 'd', 'e', 'f', 'g'}), "abcdefg");
  EXPECT_EQ(Row(28, 75, 5), "abcde");
  EXPECT_EQ(Row(29, 0, 3), "fg ");
  EXPECT_EQ(Row(0, 0, 8), std::string(8, ' ')) << "the screen scrolled up one row";
  // Going back to the start still edits the right cells.
  EXPECT_EQ(Type({'1', '2', '3', '4', '5', '6', kHome, 'X'}), "X123456");
}

TEST_F(LineInputTest, PromptLineEndAndInputSource) {
  keys.assign({' ', ' ', 'A', 'n', 'n', 'a', ',', ' ', 'B', 'e', 'r', 't', 'a', 13});
  EXPECT_EQ(InputLine("Dein Name bitte: ", false, true), "  Anna, Berta");
  EXPECT_EQ(Row(0, 0, 30), "Dein Name bitte:   Anna, Berta");
  EXPECT_EQ(Screen()->text.cursorRow, 1);
  EXPECT_EQ(Screen()->text.cursorColumn, 0);
  std::string name;
  EXPECT_EQ(FileInputString(name), ResultOk);
  EXPECT_EQ(name, "Anna");

  keys.assign({'x', 13});
  EXPECT_EQ(InputLine("Frage", true, false), "x");
  EXPECT_EQ(Row(1, 0, 8), "Frage? x");
}

TEST_F(LineInputTest, CursorMarkIsALineUnderTheCell) {
  Print("ab", false);
  bool checked = false;
  clock.onSleep = [&](int) {
    if (!checked) {
      const Surface s = ScreenSurface();
      auto pixel = [&](int x, int y) { return reinterpret_cast<const std::uint32_t*>(s.Row(y))[x]; };
      EXPECT_EQ(pixel(16, 15), CurrentContext().foreground);
      EXPECT_EQ(pixel(23, 15), CurrentContext().foreground);
      EXPECT_EQ(pixel(16, 14), CurrentContext().background);
      checked = true;
    }
    driver->Type(13);
  };
  EXPECT_EQ(InputLine("", false, false), "");
  EXPECT_TRUE(checked);
  const Surface s = ScreenSurface();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(s.Row(15))[16], CurrentContext().background)
      << "mark removed";
}

}  // namespace
}  // namespace rt
