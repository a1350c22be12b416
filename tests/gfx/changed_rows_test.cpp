#include "gfx/backend/changed_rows.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "gfx/screen_state.h"
#include "gfx_fixture.h"
#include "support/runtime_fixture.h"

namespace rt {
namespace {

using test::Pixel;

// The rows Sift finds changed.
std::vector<int> Sifted(ChangedRows& rows) {
  rows.Sift(*Screen());
  std::vector<int> changed;
  for (int y = 0; y < int(rows.Rows().size()); ++y) {
    if (rows.Rows()[y]) changed.push_back(y);
  }
  return changed;
}

class ChangedRowsTest : public test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen();
    rows.Resize(*Screen());
  }
  static std::uint32_t& At(int x, int y) { return Pixel(ScreenSurface(), x, y); }

  ChangedRows rows;
};

// Each case starts with every row shown: sifted once and cleared.
TEST_F(ChangedRowsTest, KeepsOnlyMarkedRowsWhosePixelsDiffer) {
  struct Case {
    const char* name;
    std::function<void(ChangedRows&)> draw;
    std::vector<int> changed;
  };
  const Case cases[] = {
      {"every row redrawn the same", [](ChangedRows&) { MarkDirty(0, 479); }, {}},
      {"the first pixel of a row",
       [](ChangedRows&) {
         At(0, 10) ^= 1;
         MarkDirty(0, 479);
       },
       {10}},
      {"the last pixel of the last row",
       [](ChangedRows&) {
         At(639, 479) ^= 0x00FF0000;
         MarkDirty(0, 479);
       },
       {479}},
      {"changed rows not marked",
       [](ChangedRows&) {
         At(5, 30) ^= 1;
         At(5, 40) ^= 1;
         MarkDirty(40, 40);
       },
       {40}},
      {"a change not yet shown, then the row drawn the same again",
       [](ChangedRows& rows) {
         At(5, 50) ^= 1;
         MarkDirty(50, 50);
         rows.Sift(*Screen());
         MarkDirty(0, 479);
       },
       {50}},
      {"a change undone before it was shown",
       [](ChangedRows& rows) {
         At(5, 60) ^= 1;
         MarkDirty(60, 60);
         rows.Sift(*Screen());
         At(5, 60) ^= 1;
         MarkDirty(60, 60);
       },
       {60}},
      {"every row after Forget",
       [](ChangedRows& rows) {
         rows.Forget();
         MarkDirty(0, 2);
       },
       {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MarkDirty(0, 479);
    rows.Sift(*Screen());
    rows.Clear();
    ASSERT_FALSE(rows.Any());

    c.draw(rows);
    EXPECT_EQ(Sifted(rows), c.changed);
    EXPECT_EQ(rows.Any(), !c.changed.empty());
    for (std::uint8_t mark : Screen()->dirtyLines) ASSERT_EQ(mark, 0) << "Sift takes every mark";
    rows.Clear();
  }
}

// In a mode whose rows cover two window rows, both window rows follow it.
TEST_F(ChangedRowsTest, ADoubledRowChangesBothWindowRows) {
  SetDriverList({NullDriverEntry()});
  ASSERT_EQ(ScreenMode(8, 0, 0, 0, 0), ResultOk);
  ASSERT_EQ(Screen()->scanlineSize, 2);
  rows.Resize(*Screen());
  MarkDirty(0, Screen()->height - 1);
  rows.Sift(*Screen());
  rows.Clear();

  ScreenSurface().Row(10)[3] ^= 1;
  MarkDirty(0, Screen()->height - 1);
  EXPECT_EQ(Sifted(rows), (std::vector<int>{20, 21}));
}

}  // namespace
}  // namespace rt
