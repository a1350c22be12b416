#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "support/runtime_fixture.h"
#include "support/temp_folder.h"

namespace rt::test {

// A 4-byte pixel of a surface.
inline std::uint32_t& Pixel(const Surface& s, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(s.Row(y))[x];
}

// The game's screen (640 x 480, 32 bits, 2 pages) on the null back end, and
// a fresh folder for files.
class GfxTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    OpenGameScreen();
  }

  std::string PathOf(const std::string& name) const { return folder_.File(name); }

  static std::uint32_t& ScreenPixel(int x, int y) { return Pixel(ScreenSurface(), x, y); }
  static void ClearDirty() { std::fill(Screen()->dirtyLines.begin(), Screen()->dirtyLines.end(), 0); }
  // The first and last dirty rows, or (-1, -1) when none is.
  static std::pair<int, int> DirtyRange() {
    const auto& d = Screen()->dirtyLines;
    int first = -1, last = -1;
    for (int y = 0; y < int(d.size()); ++y) {
      if (!d[y]) continue;
      if (first < 0) first = y;
      last = y;
    }
    return {first, last};
  }
  static int DirtyCount() {
    int n = 0;
    for (auto d : Screen()->dirtyLines) n += d;
    return n;
  }

  TempFolder folder_;
};

}  // namespace rt::test
