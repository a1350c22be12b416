#include "rt/file_channels.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "rt/channel.h"
#include "support/file_size_limit.h"
#include "support/hang_alarm.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace rt {
namespace {

class FileChannelTest : public ::testing::Test {
 protected:
  void TearDown() override { CloseAllFiles(); }

  test::TempFolder folder;
};

TEST_F(FileChannelTest, FreeFileNumberIsTheLowestFreeAndReservesNothing) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "x");
  EXPECT_EQ(FreeFileNumber(), 1);
  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  ASSERT_EQ(FileOpen(data, FileModeInput, 2), ResultOk);
  EXPECT_EQ(FreeFileNumber(), 3);
  EXPECT_EQ(FreeFileNumber(), 3);
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(FreeFileNumber(), 1);
}

TEST_F(FileChannelTest, FreeFileNumberIsZeroWithAll255InUse) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "x");
  for (int number = 1; number <= 255; ++number) ASSERT_EQ(FileOpen(data, FileModeInput, number), ResultOk);
  EXPECT_EQ(FreeFileNumber(), 0);
  ASSERT_EQ(FileClose(200), ResultOk);
  EXPECT_EQ(FreeFileNumber(), 200);
}

TEST_F(FileChannelTest, OpenRejectsBadNumbersModesAndNumbersInUse) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "keep");
  for (int number : {0, -1, 256, 1000}) {
    EXPECT_EQ(FileOpen(data, FileModeInput, number), ResultIllegalCall) << number;
  }
  EXPECT_EQ(FileOpen(data, 5, 1), ResultIllegalCall);
  EXPECT_EQ(FileOpen(data, -1, 1), ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(FreeFileNumber(), 1);

  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  EXPECT_EQ(FileOpen(folder.File("other"), FileModeOutput, 1), ResultIllegalCall);
  char byte = 0;
  EXPECT_EQ(FileGetAt(1, 1, &byte, 1), ResultOk);  // the first file is still there
  EXPECT_EQ(byte, 'k');
  EXPECT_FALSE(std::filesystem::exists(folder.File("other")));
}

TEST_F(FileChannelTest, FilesThatCannotBeOpenedLeaveTheNumberFree) {
  EXPECT_EQ(FileOpen(folder.File("missing"), FileModeInput, 1), ResultFileNotFound);
  EXPECT_EQ(LastResult(), ResultFileNotFound);
  EXPECT_EQ(FileOpen(folder.Path().string(), FileModeInput, 1), ResultFileNotFound);
  EXPECT_EQ(FileOpen(folder.Path().string(), FileModeOutput, 1), ResultFileNotFound);
  EXPECT_EQ(FileOpen(folder.File("no-such-folder/file"), FileModeOutput, 1), ResultFileNotFound);
  EXPECT_EQ(FileOpen("", FileModeOutput, 1), ResultFileNotFound);
  EXPECT_EQ(FileOpen(std::string_view("a\0b", 3), FileModeOutput, 1), ResultFileNotFound);
  EXPECT_EQ(FreeFileNumber(), 1);
  EXPECT_EQ(folder.Listing(), "");
}

// A named pipe would keep a plain open waiting for its other end: every mode
// refuses it at once, and a device too (only read here: a test run as root
// must not risk replacing one).
TEST_F(FileChannelTest, NamedPipesAndDevicesAreRefusedWithoutWaiting) {
  const std::string pipe = folder.File("game.sav");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  test::HangAlarm hangAlarm;
  for (int mode : {FileModeInput, FileModeOutput, FileModeAppend, FileModeBinary, FileModeRandom}) {
    EXPECT_EQ(FileOpen(pipe, mode, 1), ResultFileNotFound) << "mode " << mode;
  }
  EXPECT_EQ(FileOpen("/dev/null", FileModeInput, 1), ResultFileNotFound);
  EXPECT_EQ(FreeFileNumber(), 1);
  struct stat info {};
  ASSERT_EQ(lstat(pipe.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));  // not replaced by a file
  EXPECT_EQ(folder.Listing(), "game.sav");
}

TEST_F(FileChannelTest, OperationsOnNumbersNotOpenAreIllegalAndChangeNothing) {
  std::array<char, 4> bytes{'a', 'b', 'c', 'd'};
  EXPECT_EQ(FileClose(3), ResultIllegalCall);
  EXPECT_EQ(FileClose(0), ResultIllegalCall);
  EXPECT_EQ(FileGetAt(3, 1, bytes.data(), bytes.size()), ResultIllegalCall);
  EXPECT_EQ(FileGetAt(256, 1, bytes.data(), bytes.size()), ResultIllegalCall);
  EXPECT_EQ(FileWriteInt(3, 1, true), ResultIllegalCall);
  EXPECT_EQ(FileWriteString(-4, "x", true), ResultIllegalCall);
  EXPECT_EQ(LastResult(), ResultIllegalCall);
  EXPECT_EQ(std::string(bytes.data(), 4), "abcd");
}

TEST_F(FileChannelTest, GetAtCountsPositionsFromOneAndKeepsBytesBeyondTheEnd) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "BMxyz");
  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  std::array<char, 4> bytes{};
  EXPECT_EQ(FileGetAt(1, 1, bytes.data(), 2), ResultOk);
  EXPECT_EQ(std::string(bytes.data(), 2), "BM");
  EXPECT_EQ(FileGetAt(1, 0, bytes.data(), 1), ResultOk);  // 0: where the last read stopped
  EXPECT_EQ(bytes[0], 'x');
  bytes = {'1', '2', '3', '4'};
  EXPECT_EQ(FileGetAt(1, 4, bytes.data(), 4), ResultOk);
  EXPECT_EQ(std::string(bytes.data(), 4), "yz34");
  bytes = {'1', '2', '3', '4'};
  EXPECT_EQ(FileGetAt(1, 1000000000000LL, bytes.data(), 4), ResultOk);
  EXPECT_EQ(std::string(bytes.data(), 4), "1234");
}

TEST_F(FileChannelTest, GetAtRejectsNegativePositionsAndMissingDestinations) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "abc");
  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  char byte = '?';
  EXPECT_EQ(FileGetAt(1, -1, &byte, 1), ResultIllegalCall);
  EXPECT_EQ(FileGetAt(1, std::numeric_limits<long long>::min(), &byte, 1), ResultIllegalCall);
  EXPECT_EQ(FileGetAt(1, 1, nullptr, 1), ResultIllegalCall);
  EXPECT_EQ(byte, '?');
  EXPECT_EQ(FileGetAt(1, 1, nullptr, 0), ResultOk);
}

TEST_F(FileChannelTest, PutBackHoldsFourBytesDeliveredFirstUntilASeek) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "abcdef");
  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  Channel* channel = ChannelOn(1);
  ASSERT_NE(channel, nullptr);
  for (unsigned char byte : {'4', '3', '2', '1'}) EXPECT_TRUE(channel->PutBack(byte));
  EXPECT_FALSE(channel->PutBack('5'));
  std::array<char, 6> bytes{};
  EXPECT_EQ(FileGetAt(1, 0, bytes.data(), 6), ResultOk);
  EXPECT_EQ(std::string(bytes.data(), 6), "1234ab");
  EXPECT_TRUE(channel->PutBack('z'));
  EXPECT_EQ(FileGetAt(1, 6, bytes.data(), 1), ResultOk);
  EXPECT_EQ(bytes[0], 'f');
}

TEST_F(FileChannelTest, OutputReplacesTheTargetOnlyWhenClosed) {
  const std::string save = folder.File("game.sav");
  test::WriteBytes(save, "old\r\n");
  ASSERT_EQ(FileOpen(save, FileModeOutput, 1), ResultOk);
  ASSERT_EQ(FileWriteInt(1, 42, true), ResultOk);
  EXPECT_EQ(test::ReadBytes(save), "old\r\n");
  ASSERT_EQ(FileOpen(save, FileModeInput, 2), ResultOk);  // readers still see the old file
  std::array<char, 3> bytes{};
  EXPECT_EQ(FileGetAt(2, 1, bytes.data(), 3), ResultOk);
  EXPECT_EQ(std::string(bytes.data(), 3), "old");
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(test::ReadBytes(save), "42\r\n");
  ASSERT_EQ(FileClose(2), ResultOk);
  EXPECT_EQ(folder.Listing(), "game.sav");
}

TEST_F(FileChannelTest, OutputCreatesAMissingFileAndKeepsAnExistingFilesPermissions) {
  const std::string created = folder.File("new.hsc");
  ASSERT_EQ(FileOpen(created, FileModeOutput, 1), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_TRUE(std::filesystem::exists(created));
  EXPECT_EQ(test::ReadBytes(created), "");

  const std::string kept = folder.File("game.hsc");
  test::WriteBytes(kept, "x");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  ASSERT_EQ(FileOpen(kept, FileModeOutput, 1), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  struct stat info {};
  ASSERT_EQ(stat(kept.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// A folder that takes no new file has no room for a temporary; a writable
// file in it is rewritten in place, and what cannot be written still fails.
TEST_F(FileChannelTest, OutputRewritesAWritableFileInPlaceWhereTheFolderTakesNoNewFiles) {
  const std::string save = folder.File("game.sav"), locked = folder.File("game.hsc");
  test::WriteBytes(save, "1,2,3,4,5,6,7,8\r\n");
  test::WriteBytes(locked, "kept\r\n");
  ASSERT_EQ(chmod(save.c_str(), 0640), 0);
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  ASSERT_EQ(chmod(folder.Path().c_str(), 0555), 0);
  const int failedStep = test::RunBoundByPermissions(folder.Path(), [&] {
    if (FileOpen(save, FileModeOutput, 1) != ResultOk) return 1;
    if (FileWriteInt(1, 42, true) != ResultOk) return 2;
    if (FileClose(1) != ResultOk) return 3;
    if (FileOpen(locked, FileModeOutput, 1) != ResultFileNotFound) return 4;
    if (FileOpen(folder.File("new.sav"), FileModeOutput, 1) != ResultFileNotFound) return 5;
    return 0;
  });
  // A rewrite that cannot be written whole is reported.
  const int failedWrite = test::RunBoundByPermissions(folder.Path(), [&] {
    const test::FileSizeLimit limit(2);
    if (FileOpen(save, FileModeOutput, 1) != ResultOk) return -1;
    FileWriteString(1, "longer than two bytes", true);
    return int(FileClose(1));
  });
  ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);

  EXPECT_EQ(failedStep, 0);
  EXPECT_EQ(failedWrite, ResultFileIoError);
  EXPECT_EQ(folder.Listing(), "game.hsc game.sav");
  EXPECT_EQ(test::ReadBytes(locked), "kept\r\n");
  struct stat info {};
  ASSERT_EQ(stat(save.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(FileChannelTest, WriterKilledBeforeCloseLeavesTheOldFileAndTheNextWriteWorks) {
  const std::string save = folder.File("game.sav");
  test::WriteBytes(save, "1,2,3\r\n");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Enough to reach the disk several times over, then wait to be killed.
    if (FileOpen(save, FileModeOutput, 1) != ResultOk) _exit(1);
    for (int i = 0; i < 100000; ++i) FileWriteInt(1, i, false);
    std::fflush(nullptr);
    const char byte = 'r';
    if (write(ready[1], &byte, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  ASSERT_EQ(kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));

  EXPECT_EQ(test::ReadBytes(save), "1,2,3\r\n");
  EXPECT_NE(folder.Listing(), "game.sav");  // the killed writer's temporary is still there

  ASSERT_EQ(FileOpen(save, FileModeOutput, 1), ResultOk);
  ASSERT_EQ(FileWriteString(1, "neu", true), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(test::ReadBytes(save), "\"neu\"\r\n");
}

TEST_F(FileChannelTest, CommittingRemovesTemporariesOfWritersThatNoLongerRun) {
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string dead = std::to_string(gone), alive = std::to_string(getppid());
  // Another file's too: pictures saved under ever new names leave theirs.
  const std::vector<std::string> orphans = {"game.sav.tmp-" + dead + "-0", "game.sav.tmp-" + dead + "-17",
                                            "game.hsc.tmp-" + dead + "-0", "shot.bmp.tmp-" + dead + "-3"};
  // A live writer's, and names that only look alike.
  std::vector<std::string> kept = {"game.sav.tmp-" + alive + "-0", "game.sav.tmp-" + dead, "game.sav.tmp-x-0",
                                   ".tmp-" + dead + "-0", "game.sav.tmp-" + dead + "-0.bak"};
  for (const auto& name : orphans) test::WriteBytes(folder.File(name), "left over");
  for (const auto& name : kept) test::WriteBytes(folder.File(name), "left over");

  ASSERT_EQ(FileOpen(folder.File("game.sav"), FileModeOutput, 1), ResultOk);
  ASSERT_EQ(FileWriteInt(1, 0, true), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  kept.push_back("game.sav");
  std::sort(kept.begin(), kept.end());
  std::string listing;
  for (const auto& name : kept) listing += (listing.empty() ? "" : " ") + name;
  EXPECT_EQ(folder.Listing(), listing);
}

TEST_F(FileChannelTest, PlainExitCommitsOutputChannelsLeftOpen) {
  const std::string save = folder.File("game.sav");
  test::WriteBytes(save, "old");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (FileOpen(save, FileModeOutput, 7) != ResultOk) _exit(1);
    FileWriteInt(7, 5, false);
    FileWriteString(7, "Max", true);
    std::exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadBytes(save), "5,\"Max\"\r\n");
  EXPECT_EQ(folder.Listing(), "game.sav");
}

TEST_F(FileChannelTest, AppendWritesAfterTheEndAndBinaryReadsAndWrites) {
  const std::string log = folder.File("log");
  test::WriteBytes(log, "1\r\n");
  ASSERT_EQ(FileOpen(log, FileModeAppend, 1), ResultOk);
  ASSERT_EQ(FileWriteInt(1, 2, true), ResultOk);
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(test::ReadBytes(log), "1\r\n2\r\n");

  ASSERT_EQ(FileOpen(log, FileModeBinary, 1), ResultOk);
  char byte = 0;
  ASSERT_EQ(FileGetAt(1, 4, &byte, 1), ResultOk);
  EXPECT_EQ(byte, '2');
  ASSERT_EQ(FileWriteInt(1, 9, true), ResultOk);  // after the byte just read
  ASSERT_EQ(FileClose(1), ResultOk);
  EXPECT_EQ(test::ReadBytes(log), "1\r\n29\r\n");
}

TEST_F(FileChannelTest, ChannelsRefuseTheDirectionTheirModeLacks) {
  const std::string data = folder.File("data");
  test::WriteBytes(data, "abc");
  ASSERT_EQ(FileOpen(data, FileModeInput, 1), ResultOk);
  EXPECT_EQ(FileWriteInt(1, 1, true), ResultIllegalCall);
  ASSERT_EQ(FileOpen(folder.File("out"), FileModeOutput, 2), ResultOk);
  char byte = '?';
  EXPECT_EQ(FileGetAt(2, 1, &byte, 1), ResultIllegalCall);
  EXPECT_EQ(byte, '?');
  EXPECT_EQ(test::ReadBytes(data), "abc");
}

TEST(ExecutableFolder, IsTheAbsoluteFolderHoldingThisTestProgram) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_NE(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "rt_file_channels_test"));
}

}  // namespace
}  // namespace rt
