#include "rt/text_records.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <thread>

#include "rt/file_channels.h"
#include "support/temp_folder.h"

namespace rt {
namespace {

class TextRecordTest : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseAllFiles();
    SetInputText({});
  }
  // Opens a file holding `bytes` on number 1 and makes it the input source.
  void BeginFile(std::string_view bytes) {
    test::WriteBytes(path, bytes);
    ASSERT_EQ(FileOpen(path, FileModeInput, 1), ResultOk);
    ASSERT_EQ(FileInputBegin(1), ResultOk);
  }
  int NextInt() {
    int value = 12345;
    EXPECT_EQ(FileInputInt(value), ResultOk);
    return value;
  }
  std::string NextText() {
    std::string value = "unchanged";
    EXPECT_EQ(FileInputString(value), ResultOk);
    return value;
  }

  test::TempFolder folder;
  std::string path = folder.File("record");
};

TEST_F(TextRecordTest, WriterQuotesTextsAndEndsTheRecordWithCrLf) {
  ASSERT_EQ(FileOpen(path, FileModeOutput, 1), ResultOk);
  EXPECT_EQ(FileWriteInt(1, 12, false), ResultOk);
  EXPECT_EQ(FileWriteString(1, "12-05-2026", false), ResultOk);
  EXPECT_EQ(FileWriteInt(1, 7, false), ResultOk);
  EXPECT_EQ(FileWriteString(1, "Max", true), ResultOk);
  EXPECT_EQ(FileWriteInt(1, -2147483647 - 1, false), ResultOk);
  EXPECT_EQ(FileWriteString(1, "", true), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  const std::string first = "12,\"12-05-2026\",7,\"Max\"\r\n";
  EXPECT_EQ(first.size(), 25u);
  EXPECT_EQ(test::ReadBytes(path), first + "-2147483648,\"\"\r\n");
}

TEST_F(TextRecordTest, ReadsBlanksQuotedCommasAndUnquotedTexts) {
  BeginFile(" 12 , \"A,B\" ,7,Max\r\nMax Muster,x\r\n");
  EXPECT_EQ(NextInt(), 12);
  EXPECT_EQ(NextText(), "A,B");
  EXPECT_EQ(NextInt(), 7);
  EXPECT_EQ(NextText(), "Max");
  EXPECT_EQ(NextText(), "Max Muster");
  EXPECT_EQ(NextText(), "x");
}

TEST_F(TextRecordTest, EmptyTextsBetweenZeros) {
  BeginFile("0,\"\",0,\"\"");
  EXPECT_EQ(NextInt(), 0);
  EXPECT_EQ(NextText(), "");
  EXPECT_EQ(NextInt(), 0);
  EXPECT_EQ(NextText(), "");
}

TEST_F(TextRecordTest, LfOnlyAndCrOnlyLineEndsReadLikeCrLf) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    CloseAllFiles();
    BeginFile(std::string("5,\"eins\"") + end + "6,\"zwei\"" + end);
    EXPECT_EQ(NextInt(), 5);
    EXPECT_EQ(NextText(), "eins");
    EXPECT_EQ(NextInt(), 6) << "line end " << int(end[0]);
    EXPECT_EQ(NextText(), "zwei");
    EXPECT_EQ(NextText(), "");
  }
}

TEST_F(TextRecordTest, MissingFileReadsAsZerosAndEmptyTexts) {
  ASSERT_EQ(FileOpen(folder.File("game.sav"), FileModeInput, 1), ResultFileNotFound);
  EXPECT_EQ(FileInputBegin(1), ResultIllegalCall);
  EXPECT_EQ(NextInt(), 0);
  EXPECT_EQ(NextText(), "");
  EXPECT_EQ(NextInt(), 0);
  EXPECT_EQ(NextText(), "");
  EXPECT_EQ(LastResult(), ResultOk);
}

TEST_F(TextRecordTest, WrittenRecordsReadBackItemForItem) {
  std::mt19937 random(7);
  std::vector<int> numbers;
  std::vector<std::string> texts;
  ASSERT_EQ(FileOpen(path, FileModeOutput, 1), ResultOk);
  for (int i = 0; i < 200; ++i) {
    numbers.push_back(static_cast<int>(random()));
    std::string text;
    for (std::size_t n = random() % 12; n > 0; --n) {
      const char c = static_cast<char>(random() % 255 + 1);
      text += c == '"' || c == '\n' || c == '\r' ? 'q' : c;  // the format cannot carry these
    }
    texts.push_back(text);
    ASSERT_EQ(FileWriteInt(1, numbers.back(), false), ResultOk);
    ASSERT_EQ(FileWriteString(1, texts.back(), i % 3 == 2), ResultOk);
  }
  ASSERT_EQ(FileClose(1), ResultOk);
  ASSERT_EQ(FileOpen(path, FileModeInput, 1), ResultOk);
  ASSERT_EQ(FileInputBegin(1), ResultOk);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    ASSERT_EQ(NextInt(), numbers[i]) << i;
    ASSERT_EQ(NextText(), texts[i]) << i;
  }
}

TEST_F(TextRecordTest, TextWithAQuoteIsCutThereAndTheRestReadsOn) {
  BeginFile("\"ab\"cd\",5\r\n");
  EXPECT_EQ(NextText(), "ab");
  EXPECT_EQ(NextText(), "cd\"");
  EXPECT_EQ(NextInt(), 5);
}

TEST_F(TextRecordTest, OverlongItemsAreSplitAtTheirMaximum) {
  const std::string longText(5000, 'x');
  BeginFile(longText + ",1\r\n");
  EXPECT_EQ(NextText(), std::string(4096, 'x'));
  EXPECT_EQ(NextText(), std::string(904, 'x'));
  EXPECT_EQ(NextInt(), 1);
}

TEST_F(TextRecordTest, ClosedOrReusedChannelReadsAsEndOfData) {
  BeginFile("1,2,3");
  EXPECT_EQ(NextInt(), 1);
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(NextInt(), 0);
  ASSERT_EQ(FileOpen(path, FileModeInput, 1), ResultOk);  // same number, another opening
  EXPECT_EQ(NextInt(), 0);
  ASSERT_EQ(FileInputBegin(1), ResultOk);
  EXPECT_EQ(NextInt(), 1);
}

TEST_F(TextRecordTest, InputTextIsTheSourceUntilAChannelBegins) {
  SetInputText("Max Muster, 3");
  EXPECT_EQ(NextText(), "Max Muster");
  EXPECT_EQ(NextInt(), 3);
  EXPECT_EQ(NextInt(), 0);
}

TEST_F(TextRecordTest, EachThreadHasItsOwnInputSource) {
  SetInputText("main,1");
  std::string other;
  std::thread([&other] {
    SetInputText("other");
    FileInputString(other);
  }).join();
  EXPECT_EQ(other, "other");
  EXPECT_EQ(NextText(), "main");
}

TEST_F(TextRecordTest, NumberItemsEndAtBlanksAndMayBeQuoted) {
  SetInputText("12 34\t\"56\",-7 ,  ,8");
  EXPECT_EQ(NextInt(), 12);
  EXPECT_EQ(NextInt(), 34);
  EXPECT_EQ(NextInt(), 56);
  EXPECT_EQ(NextInt(), -7);
  EXPECT_EQ(NextInt(), 0);
  EXPECT_EQ(NextInt(), 8);
}

struct NumberCase {
  const char* item;
  int value;
};

TEST_F(TextRecordTest, NumberItemsFollowTheirRoundingBaseAndWrapRules) {
  const NumberCase cases[] = {
      {"3.5", 4},
      {"2.5", 2},
      {"-2.5", -2},
      {"0.5", 0},
      {"1.5", 2},
      {"2.51", 3},
      {"1D3", 1000},
      {"25e-1", 2},
      {"&H1F", 31},
      {"&hff", 255},
      {"&HE", 14},
      {"&H1D", 29},
      {"&O17", 15},
      {"&B101", 5},
      {"&17", 15},
      {"&HFFFFFFFF", -1},
      {"&H1FFFFFFFF", -1},
      {"&", 0},
      {"12abc", 12},
      {"+9", 9},
      {"abc", 0},
      {"-", 0},
      {"4294967295", -1},
      {"2147483648", -2147483647 - 1},
      {"-4294967295", 1},
      {"99999999999", -1},
      {"-99999999999", 1},
      {"1e999", 2147483647},
      {"-1e999", -2147483647 - 1},
      {"2147483647.4", 2147483647},
      {"1e-999", 0},
      {"nan.", 0},
      {"inf.", 0},
      {"0x10.", 0},
      {".", 0},
      {"E5", 0},
  };
  for (const auto& [item, value] : cases) {
    SetInputText(item);
    EXPECT_EQ(NextInt(), value) << item;
  }
}

// Hostile files give items within their maximum and come to an end.
TEST_F(TextRecordTest, MalformedFilesEndWithoutOverrunning) {
  std::mt19937 random(2024);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string corpus[] = {
      noise,
      std::string(10000, '7'),        // one huge number, no line end
      "\"" + std::string(9000, 'a'),  // a quote never closed
      std::string(3000, ',') + std::string(3000, '\r'),
      std::string(5000, ' ') + "&H" + std::string(100, 'F'),
      std::string("\0\0\0,\"\0\"", 8),
  };
  for (const std::string& bytes : corpus) {
    CloseAllFiles();
    BeginFile(bytes);
    // Every item away from the end consumes at least one byte.
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      if (i % 2) {
        int number = 0;
        ASSERT_EQ(FileInputInt(number), ResultOk);
      } else {
        std::string text;
        ASSERT_EQ(FileInputString(text), ResultOk);
        ASSERT_LE(text.size(), kMaxTextItem);
      }
    }
    EXPECT_EQ(NextText(), "");
    EXPECT_EQ(NextInt(), 0);
  }
}

}  // namespace
}  // namespace rt
