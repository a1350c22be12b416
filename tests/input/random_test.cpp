#include "input/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include "support/runtime_fixture.h"

namespace rt {
namespace {

class RandomTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    ResetRandom();
  }
  void TearDown() override {
    ResetRandom();
    RuntimeTest::TearDown();
  }
};

// The same generator from the standard library, loaded with the state that
// the seeding fill produces, serves as an independent check of the twist and
// the tempering.
std::mt19937 OracleSeededWith(std::uint32_t seed) {
  std::stringstream state;
  std::uint32_t word = seed;
  for (int i = 0; i < 624; ++i) {
    state << word << ' ';
    word = word * 1664525u + 1013904223u;
  }
  state << 624;
  std::mt19937 oracle;
  state >> oracle;
  return oracle;
}

std::uint32_t DrawWord() { return static_cast<std::uint32_t>(std::ldexp(Rnd(1), 32)); }

TEST_F(RandomTest, DrawsMatchTheStandardTwisterOnTheSameState) {
  for (std::uint32_t seed : {0u, 12345u, 0xFFFFFFFFu}) {
    Randomize(seed, 0);
    std::mt19937 oracle = OracleSeededWith(seed);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(DrawWord(), oracle()) << "seed " << seed << " draw " << i;
  }
}

TEST_F(RandomTest, NeverSeededDrawsAsSeedZero) {
  std::mt19937 oracle = OracleSeededWith(0);
  EXPECT_EQ(DrawWord(), oracle());
  EXPECT_EQ(DrawWord(), oracle());
}

TEST_F(RandomTest, RndZeroRepeatsTheLastValueWithoutAdvancing) {
  EXPECT_EQ(Rnd(0), 0.0);
  Randomize(7);
  const double first = Rnd(1);
  EXPECT_EQ(Rnd(0), first);
  EXPECT_EQ(Rnd(0), first);
  const double second = Rnd(1);
  Randomize(7);
  EXPECT_EQ(Rnd(1), first);
  EXPECT_EQ(Rnd(1), second);
}

TEST_F(RandomTest, SeedsAreTruncatedTowardZeroToTheirLow32Bits) {
  Randomize(12345.9);
  const double truncated = (Randomize(12345), Rnd());
  Randomize(12345.9);
  EXPECT_EQ(Rnd(), truncated);
  Randomize(-1.5);  // -1 as 64 bits: low word 0xFFFFFFFF
  EXPECT_EQ(DrawWord(), OracleSeededWith(0xFFFFFFFFu)());
  Randomize(4294967296.0 + 5);
  EXPECT_EQ(DrawWord(), OracleSeededWith(5)());
  Randomize(1e300);
  Randomize(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(DrawWord(), OracleSeededWith(0)());
}

TEST_F(RandomTest, ClockSeedIsTheXorOfTheTimersHalves) {
  clock.Advance(1234.5678);
  const double timer = clock.Seconds();
  std::uint64_t bits;
  std::memcpy(&bits, &timer, sizeof bits);
  const auto seed = static_cast<std::uint32_t>(bits) ^ static_cast<std::uint32_t>(bits >> 32);
  Randomize(-1, 0);
  EXPECT_EQ(DrawWord(), OracleSeededWith(seed)());
  // Twice within the same tick: the same seed, so the same next number.
  Randomize(-1, 0);
  const double first = Rnd();
  Randomize(-1, 0);
  EXPECT_EQ(Rnd(), first);
}

TEST_F(RandomTest, ScaledDrawsStayInRangeAndReachEveryValue) {
  Randomize(99);
  int seen[23] = {};
  for (int i = 0; i < 20000; ++i) {
    const double r = Rnd();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    const int kind = static_cast<int>(std::floor(r * 22)) + 1;
    ASSERT_GE(kind, 1);
    ASSERT_LE(kind, 22);
    ++seen[kind];
  }
  for (int kind = 1; kind <= 22; ++kind) EXPECT_GT(seen[kind], 700) << kind;
}

}  // namespace
}  // namespace rt
