#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "rt/result.h"

namespace rt {

struct ScreenState;

// Flag bits that ScreenMode hands to a back end's Init.
inline constexpr int kFlagFullScreen = 1 << 0;
inline constexpr int kFlagOpenGl = 1 << 1;
inline constexpr int kFlagNoSwitch = 1 << 2;
inline constexpr int kFlagNoFrame = 1 << 3;
inline constexpr int kFlagShaped = 1 << 4;
inline constexpr int kFlagAlwaysOnTop = 1 << 5;
inline constexpr int kFlagHighPriority = 1 << 7;

struct FullScreenSize {
  int width = 0;
  int height = 0;
};

// A display back end: it presents the screen's dirty rows and delivers input.
// Lock/Unlock guard everything it shares with the drawing thread: the visible
// page, the dirty lines, the palette, the key state, the key queue and the
// mouse state. Every operation other than Init, Exit, Lock and Unlock is
// called with that lock held (through ScreenLock), so a back end that needs
// its own thread for the platform call queues the request there.
class DisplayDriver {
 public:
  virtual ~DisplayDriver() = default;

  virtual std::string_view Name() const = 0;
  // Opens the back end for `screen`; 0 on success, non-zero on failure.
  virtual int Init(ScreenState& screen, const char* title, int width, int windowHeight, int depth,
                   int refresh, int flags) = 0;
  virtual void Exit() = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  virtual void SetPalette(int index, int red, int green, int blue) = 0;
  // The mouse query and command; the rules are those of GetMouse/SetMouse.
  virtual Result GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) = 0;
  virtual Result SetMouse(int x, int y, int visibility, int clip) = 0;
  virtual void SetWindowTitle(const char* title) = 0;
  // A 1000 Hz tone of 250 ms where the platform can sound one; silent otherwise.
  virtual void Beep() {}
  // Part of every driver's table, but no runtime operation reaches them: a
  // back end overrides them once something does.
  virtual void WaitVsync() {}
  virtual void SetWindowPos(int /*x*/, int /*y*/) {}
  virtual std::vector<FullScreenSize> FetchModes(int /*depth*/) { return {}; }
};

struct DriverEntry {
  const char* name;
  std::unique_ptr<DisplayDriver> (*create)();
};

// The back ends this build has, in the order they are tried, and the null
// back end; both are defined with the back ends, in gfx/backend/.
std::span<const DriverEntry> ProductDrivers();
const DriverEntry& NullDriverEntry();

// The back ends in the order they are tried: ProductDrivers() unless a
// test set a list of its own.
std::span<const DriverEntry> DriverList();
// Replaces the list (tests add a scripted back end); an empty list restores
// the product's list.
void SetDriverList(std::vector<DriverEntry> list);

// The name of the environment variable that overrides the choice.
inline constexpr const char* kDriverOverrideVariable = "MORVANTA_DRIVER";

// Opens a back end for `screen` by the choice rules: list order, each tried
// with the requested refresh and then refresh 0, full-screen bit inverted on
// the second pass, the override alternating with the whole list. Returns
// nullptr when none opens.
std::unique_ptr<DisplayDriver> OpenDisplayDriver(ScreenState& screen, const char* title, int width,
                                                 int windowHeight, int depth, int refresh, int flags);

}  // namespace rt
