#include "gfx/keyed_copy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "vector_paths.h"

namespace rt {
namespace {

using test::PathName;
using test::PinnedPath;
using test::RunnablePaths;

constexpr std::uint32_t kKey = 0xFF00FF;
constexpr std::uint32_t kGuard = 0xDEADBEEFu;
constexpr int kRows = 3;
// Rows of the target lie this many pixels apart, wider than any copy, so a
// write past a row's end or into the gap shows.
constexpr int kTargetPitch = 700;

// Pixel i of source row r: the key (with varying alpha) at every third pixel
// and through pixels 64-95, 160-191, ... (whole turns of the widest loop),
// the others carrying their place and an alpha byte a keyed copy must drop.
bool IsKey(int i) { return i % 3 == 1 || i / 32 % 3 == 2; }
std::uint32_t SourcePixel(int r, int i) {
  return IsKey(i) ? (std::uint32_t(i) << 24 | kKey)
                  : (0x7F000000u | std::uint32_t(r) << 16 | std::uint32_t(i));
}

// Copies a block `count` pixels wide, `start` pixels into each row of a
// guarded target, keyed or whole, and answers whether exactly the expected
// pixels changed, each to what it should be.
::testing::AssertionResult CopiesExactly(int start, int count, bool keyed) {
  const int sourcePitch = count + 5;
  std::vector<std::uint32_t> source(std::size_t(kRows) * sourcePitch);
  for (int r = 0; r < kRows; ++r)
    for (int i = 0; i < count; ++i) source[std::size_t(r) * sourcePitch + i] = SourcePixel(r, i);
  std::vector<std::uint32_t> target(std::size_t(kRows) * kTargetPitch, kGuard);
  auto* to = reinterpret_cast<std::uint8_t*>(target.data() + start);
  const auto* from = reinterpret_cast<const std::uint8_t*>(source.data());
  if (keyed) {
    CopyKeyedRows32(to, kTargetPitch * 4, from, sourcePitch * 4, count, kRows, kKey);
  } else {
    CopyRows(to, kTargetPitch * 4, from, sourcePitch * 4, std::size_t(count) * 4, kRows);
  }
  for (int r = 0; r < kRows; ++r) {
    for (int x = 0; x < kTargetPitch; ++x) {
      const int at = x - start;
      const bool inside = at >= 0 && at < count;
      std::uint32_t want = kGuard;
      if (inside && !keyed) want = SourcePixel(r, at);
      if (inside && keyed && !IsKey(at)) want = SourcePixel(r, at) & 0xFFFFFF;
      if (target[std::size_t(r) * kTargetPitch + x] != want) {
        return ::testing::AssertionFailure()
               << "pixel " << x << " of row " << r << " of a copy from " << start << " for " << count << ": "
               << std::hex << target[std::size_t(r) * kTargetPitch + x];
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(CopyRowLoops, WriteExactlyTheBlockOnEveryPathAtAnyWidth) {
  for (VectorPath path : RunnablePaths()) {
    SCOPED_TRACE(PathName(path));
    PinnedPath pinned(path);
    for (bool keyed : {true, false}) {
      // Widths around each vector step and group of four, so that every tail
      // and overlapping last vector runs; 127-129 pixels straddle the longest
      // row copied in the loop, 640 is a screen row.
      for (int start = 0; start < 9; ++start)
        for (int count = 0; count <= 41; ++count) EXPECT_TRUE(CopiesExactly(start, count, keyed));
      for (int count : {63, 64, 65, 127, 128, 129, 640}) EXPECT_TRUE(CopiesExactly(3, count, keyed));
    }
  }
}

}  // namespace
}  // namespace rt
