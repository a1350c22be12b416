#include "gfx/window_identity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gfx/display_driver.h"
#include "gfx/screen.h"
#include "window/x_display.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace rt {
namespace {

using test::WaitFor;

constexpr const char* kId = "org.example.IdentityTest";

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};

// What a dock reads to match the window with a desktop entry.
std::string WindowClass(unsigned long window) {
  std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  XClassHint hint{};
  if (!display || !XGetClassHint(display.get(), window, &hint)) return "(none)";
  const std::string name = hint.res_class ? hint.res_class : "";
  XFree(hint.res_name);
  XFree(hint.res_class);
  return name;
}

// _NET_WM_ICON: width, height, then 0xAARRGGBB pixels, each in a long.
std::vector<std::uint32_t> WindowIcon(unsigned long window) {
  std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const Atom icon = XInternAtom(display.get(), "_NET_WM_ICON", False);
  if (XGetWindowProperty(display.get(), window, icon, 0, 1 << 16, False, XA_CARDINAL, &type, &format, &count,
                         &remaining, &data) != Success ||
      !data) {
    return {};
  }
  const auto* values = reinterpret_cast<const unsigned long*>(data);
  std::vector<std::uint32_t> result(values, values + count);
  XFree(data);
  return result;
}

class WindowIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kDriverOverrideVariable);
    unsetenv("SDL_VIDEO_X11_WMCLASS");
    SetDriverList({});
  }
  void TearDown() override {
    ScreenClose();
    SetApplicationId("");
    SetWindowIcon(0, 0, {});
  }
  unsigned long OpenWindow() {
    if (ScreenMode(18, 32, 1, 0, 0) != rt::ResultOk) return 0;
    unsigned long window = 0;
    WaitFor([&] { return (window = test::FindOwnWindow()) != 0; });
    return window;
  }
};

TEST_F(WindowIdentityTest, NamesTheWindowClassAfterTheApplicationId) {
  SetApplicationId(kId);
  const unsigned long window = OpenWindow();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(WindowClass(window), kId);
}

TEST_F(WindowIdentityTest, LeavesAClassThePlayerChoseAlone) {
  setenv("SDL_VIDEO_X11_WMCLASS", "PlayersOwnClass", 1);
  SetApplicationId(kId);
  const unsigned long window = OpenWindow();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(WindowClass(window), "PlayersOwnClass");
}

TEST_F(WindowIdentityTest, GivesTheWindowTheIconPixelsInOrder) {
  // Three columns and two rows, every channel different, one pixel clear.
  const std::vector<std::uint32_t> pixels{0xFF102030, 0xFF405060, 0x00000000,
                                          0xFFA0B0C0, 0xFFD0E0F0, 0xFF010203};
  ASSERT_TRUE(SetWindowIcon(3, 2, pixels));
  const unsigned long window = OpenWindow();
  ASSERT_NE(window, 0u);
  std::vector<std::uint32_t> icon;
  ASSERT_TRUE(WaitFor([&] { return !(icon = WindowIcon(window)).empty(); }));
  std::vector<std::uint32_t> expected{3, 2};
  expected.insert(expected.end(), pixels.begin(), pixels.end());
  EXPECT_EQ(icon, expected);
}

TEST_F(WindowIdentityTest, RefusesAnIconWhosePixelsDoNotFillItsSize) {
  const std::vector<std::uint32_t> pixels(4, 0xFF102030);
  ASSERT_TRUE(SetWindowIcon(2, 2, pixels));
  EXPECT_FALSE(SetWindowIcon(3, 2, pixels));
  EXPECT_FALSE(SetWindowIcon(-2, -2, pixels));
  EXPECT_EQ(CurrentWindowIdentity().iconWidth, 2) << "a refused icon keeps the one before";
  EXPECT_EQ(CurrentWindowIdentity().iconArgb, pixels);
}

}  // namespace
}  // namespace rt
