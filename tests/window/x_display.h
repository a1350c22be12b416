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
// A text property of a window (such as "WM_NAME"): the type it is declared
// as ("STRING", "COMPOUND_TEXT", "UTF8_STRING") and its text decoded from that
// type as UTF-8.
struct TextProperty {
  std::string type;
  std::string utf8;
};
TextProperty ReadTextProperty(unsigned long window, const char* name);

// The color 0xRRGGBB at a point of the whole X screen.
std::uint32_t RootPixel(int x, int y);

// Binds a spare keycode to the keysym (such as "udiaeresis") for good, so
// that xdotool types it with that key instead of remapping a key for a moment,
// which races with the program reading the keymap.
bool BindSpareKey(const char* keysymName);

// Presses the keys named by their XKB key names ("AD01", "RALT", "KPDL") one
// after the other and lets them go in reverse, as fingers on a keyboard do;
// false if a name is unknown.
bool PressChord(const std::vector<std::string>& keyNames);
// Presses and holds one key, or lets it go.
bool HoldKey(const std::string& keyName, bool down);

// The keyboard layout (setxkbmap's name, such as "de") while the object
// lives. It holds a connection open, since the server forgets the layout
// when its last client leaves.
class KeyboardLayout {
 public:
  explicit KeyboardLayout(const std::string& name);
  ~KeyboardLayout();
  KeyboardLayout(const KeyboardLayout&) = delete;
  KeyboardLayout& operator=(const KeyboardLayout&) = delete;

 private:
  void* display_ = nullptr;
};

// No key repeats while the object lives: a held key is then only known to
// be down from its first press.
class NoAutoRepeat {
 public:
  NoAutoRepeat();
  ~NoAutoRepeat();
  NoAutoRepeat(const NoAutoRepeat&) = delete;
  NoAutoRepeat& operator=(const NoAutoRepeat&) = delete;
};

// A window of another program, shown while the object lives, which can
// take the keyboard focus.
class OtherWindow {
 public:
  OtherWindow();
  ~OtherWindow();
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  void TakeFocus();

 private:
  void* display_ = nullptr;
  unsigned long window_ = 0;
};

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
// Asks the window manager to maximise the window, as its maximise button
// or a task bar does.
void RequestMaximise(unsigned long window);
// The atom names of a list property of the window, such as the actions the
// window manager allows it (_NET_WM_ALLOWED_ACTIONS) or its state
// (_NET_WM_STATE).
std::vector<std::string> AtomListProperty(unsigned long window, const char* name);

// An Xvfb server of the test's own (1280x1024x24), which the test may end
// as a desktop session ends. DISPLAY names it while the object lives.
class PrivateXServer {
 public:
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;
  bool Running() const { return pid_ > 0; }
  void Kill();

 private:
  int pid_ = -1;
  std::string previousDisplay_;
};

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
