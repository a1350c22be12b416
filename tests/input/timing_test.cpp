#include "input/timing.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "gfx/screen.h"
#include "input/key_queue.h"
#include "input/keyboard.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

// Sleeps on the virtual clock, recording every platform sleep.
class SleepTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    clock.onSleep = [this](int delayMs) { sleeps.push_back(delayMs); };
  }
  std::vector<int> sleeps;
};

TEST_F(SleepTest, LongSleepSteps50MsThenSleepsTheRest) {
  OpenGameScreen();
  SleepMs(120);
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50, 20}));
  sleeps.clear();
  SleepMs(100);
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50}));
  sleeps.clear();
  SleepMs(1000);
  EXPECT_EQ(sleeps.size(), 20u);
  EXPECT_EQ(clock.SleptMs(), 120 + 100 + 1000);
}

TEST_F(SleepTest, KeyPostedBeforeALongSleepEndsItAtOnceAndStaysQueued) {
  OpenGameScreen();
  PostKey('x');
  SleepMs(1000);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_TRUE(KeyHit());
  EXPECT_EQ(Inkey(), "x");
}

TEST_F(SleepTest, LongSleepLooksForKeysOnlyBeforeEach50MsStep) {
  OpenGameScreen();
  // Posted during the first step: the second look sees it.
  clock.onSleep = [this](int delayMs) {
    sleeps.push_back(delayMs);
    if (sleeps.size() == 1) PostKey('a');
  };
  SleepMs(1000);
  EXPECT_EQ(sleeps, (std::vector<int>{50}));
  // Posted during the second step of 120: no look follows, so 20 ms still runs.
  sleeps.clear();
  clock.onSleep = [this](int delayMs) {
    sleeps.push_back(delayMs);
    if (sleeps.size() == 2) PostKey('b');
  };
  SleepMs(120);
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50, 20}));
  EXPECT_TRUE(TakeKeyPosted());  // the flag was left for the next sleep
}

TEST_F(SleepTest, ShortSleepIsOneSleepThatLeavesThePostedFlagAlone) {
  OpenGameScreen();
  PostKey('k');
  SleepMs(99);
  SleepMs(2);
  EXPECT_EQ(sleeps, (std::vector<int>{99, 2}));
  EXPECT_TRUE(TakeKeyPosted());
}

TEST_F(SleepTest, ZeroAndBelowMinusOneReturnAtOnce) {
  OpenGameScreen();
  SleepMs(0);
  SleepMs(-5);
  SleepMs(-2147483647 - 1);
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(SleepTest, MinusOneWaitsIn50MsStepsUntilAKeyIsPosted) {
  OpenGameScreen();
  clock.onSleep = [this](int delayMs) {
    sleeps.push_back(delayMs);
    if (sleeps.size() == 7) PostKey(kKeyClose);
  };
  SleepMs(-1);
  EXPECT_EQ(sleeps, std::vector<int>(7, 50));
  EXPECT_EQ(Inkey(), std::string("\xFFk", 2));
}

TEST_F(SleepTest, MinusOneAfterInkeyWaitsForTheNextKey) {
  OpenGameScreen();
  PostKey('a');
  EXPECT_EQ(Inkey(), "a");
  clock.onSleep = [this](int delayMs) {
    sleeps.push_back(delayMs);
    if (sleeps.size() == 2) PostKey('b');
  };
  SleepMs(-1);
  EXPECT_EQ(sleeps.size(), 2u);
}

TEST_F(SleepTest, WithoutAScreenSleepsLastTheirFullTime) {
  PostKey('x');  // queued, but no screen is open to report it
  SleepMs(1000);
  EXPECT_EQ(clock.SleptMs(), 1000);
  sleeps.clear();
  SleepMs(0);
  EXPECT_EQ(sleeps, (std::vector<int>{0}));
  sleeps.clear();
  SleepMs(-3);
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(SleepTest, MinusOneWithoutAScreenReturnsInsteadOfWaitingForever) {
  SleepMs(-1);
  EXPECT_TRUE(sleeps.empty());
}

class ClockTest : public test::RuntimeTest {};

TEST_F(ClockTest, TimerFollowsTheClocksSecondsCounter) {
  const double before = Timer();
  clock.Sleep(250);
  EXPECT_DOUBLE_EQ(Timer() - before, 0.25);
}

TEST_F(ClockTest, DateSerialCountsDaysFromTheEndOf1899) {
  EXPECT_EQ(DateSerial(1899, 12, 30), 0);
  EXPECT_EQ(DateSerial(1900, 1, 1), 2);
  EXPECT_EQ(DateSerial(1900, 3, 1), 61);  // 1900 is no leap year
  EXPECT_EQ(DateSerial(2000, 1, 1), 36526);
  EXPECT_EQ(DateSerial(2000, 3, 1), 36526 + 31 + 29);  // 2000 is one
  EXPECT_EQ(DateSerial(1899, 12, 29), -1);
  EXPECT_EQ(DateSerial(2024, 13, 1), DateSerial(2025, 1, 1));
  EXPECT_EQ(DateSerial(2024, 0, 1), DateSerial(2023, 12, 1));
}

TEST_F(ClockTest, NowIsTheLocalDateAndTimeAsASerial) {
  EXPECT_EQ(Now(), 36526);  // the virtual clock starts on 1 January 2000
  clock.SetLocalTime(2024, 3, 7, 13, 45, 30);
  const double now = Now();
  EXPECT_EQ(static_cast<int>(now), DateSerial(2024, 3, 7));
  EXPECT_EQ(HourOf(now), 13);
  EXPECT_EQ(MinuteOf(now), 45);
  EXPECT_EQ(SecondOf(now), 30);
}

TEST_F(ClockTest, TimeOfDayPartsOfWholeSecondSerialsDoNotFallShort) {
  EXPECT_EQ(HourOf(0.75), 18);
  EXPECT_EQ(MinuteOf(0.75), 0);
  EXPECT_EQ(SecondOf(0.75), 0);
  for (int second = 0; second < 86400; second += 7) {
    const double serial = 45000 + second / 86400.0;
    ASSERT_EQ(HourOf(serial) * 3600 + MinuteOf(serial) * 60 + SecondOf(serial), second) << second;
  }
}

TEST_F(ClockTest, NegativeSerialsUseTheirDistanceIntoTheDay) {
  EXPECT_EQ(HourOf(-0.25), 6);   // between -1 and 0: the fraction's size
  EXPECT_EQ(HourOf(-1.25), 18);  // further down: counted from the day's start
}

TEST_F(ClockTest, NonFiniteSerialsGiveMidnight) {
  EXPECT_EQ(HourOf(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(MinuteOf(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(SecondOf(-std::numeric_limits<double>::infinity()), 0);
}

TEST_F(ClockTest, DateStringPutsTheMonthFirst) {
  clock.SetLocalTime(2024, 3, 7, 23, 59, 59);
  EXPECT_EQ(DateString(), "03-07-2024");
  clock.Sleep(1000);
  EXPECT_EQ(DateString(), "03-08-2024");
}

}  // namespace
}  // namespace rt
