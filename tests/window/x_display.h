#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Looking at the X server from outside the program: the tools a user's
// desktop would use (xdotool, xwininfo) and a few Xlib calls of our own.
namespace rt::test {

// Runs a shell command; its standard output.
std::string Shell(const std::string& command);

// Polls `condition` every 10 ms until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

// The visible window of this process, or 0.
unsigned long FindOwnWindow();
WindowGeometry Geometry(unsigned long window);
std::string WindowName(unsigned long window);  // UTF-8
bool WindowExists(unsigned long window);

// The colour 0xRRGGBB at a point of the whole X screen.
std::uint32_t RootPixel(int x, int y);

// Binds a spare keycode to the keysym (such as "udiaeresis") for good, so
// that xdotool types it with that key instead of remapping a key for a moment,
// which races with the program reading the keymap.
bool BindSpareKey(const char* keysymName);

// A window manager (openbox) on the test's X server while the object lives;
// full screen is the window manager's business on X11.
class WindowManager {
 public:
  WindowManager();
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  // Whether it runs and manages new windows.
  bool Ready() const;

 private:
  int pid_ = -1;
};

// Asks the window to close, as a window manager's close button does.
void SendCloseRequest(unsigned long window);

// What the X server hears drawn into a window (its damage, in window
// coordinates) from the moment the watcher exists.
class DamageWatcher {
 public:
  struct Area {
    int x = 0, y = 0, width = 0, height = 0;
  };

  explicit DamageWatcher(unsigned long window);
  ~DamageWatcher();
  DamageWatcher(const DamageWatcher&) = delete;
  DamageWatcher& operator=(const DamageWatcher&) = delete;
  // Whether the X server reports damage to this watcher.
  bool Ready() const { return damage_ != 0; }
  // The areas drawn since the last call.
  std::vector<Area> Drawn();

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
  unsigned long damage_ = 0;
  int eventBase_ = 0;
};

}  // namespace rt::test
