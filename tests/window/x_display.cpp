#include "window/x_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>

namespace rt::test {

namespace {

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr OpenDisplay() { return DisplayPtr(XOpenDisplay(nullptr)); }

int Field(const std::string& text, const std::string& label) {
  const auto at = text.find(label);
  return at == std::string::npos ? -1 : std::stoi(text.substr(at + label.size()));
}

}  // namespace

std::string Shell(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

unsigned long FindOwnWindow() {
  std::istringstream ids(Shell("xdotool search --onlyvisible --pid " + std::to_string(getpid()) + " 2>/dev/null"));
  unsigned long id = 0;
  ids >> id;
  return id;
}

WindowGeometry Geometry(unsigned long window) {
  const std::string info = Shell("xwininfo -id " + std::to_string(window) + " 2>/dev/null");
  return {Field(info, "Absolute upper-left X:"), Field(info, "Absolute upper-left Y:"), Field(info, "Width:"),
          Field(info, "Height:")};
}

std::string WindowName(unsigned long window) {
  std::string name = Shell("xdotool getwindowname " + std::to_string(window) + " 2>/dev/null");
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

bool WindowExists(unsigned long window) { return Geometry(window).width > 0; }

std::uint32_t RootPixel(int x, int y) {
  DisplayPtr display = OpenDisplay();
  if (!display) return 0xDEADBEEF;
  XImage* image = XGetImage(display.get(), DefaultRootWindow(display.get()), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xDEADBEEF;
  const std::uint32_t pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

bool BindSpareKey(const char* keysymName) {
  DisplayPtr display = OpenDisplay();
  if (!display) return false;
  KeySym keysym = XStringToKeysym(keysymName);
  if (keysym == NoSymbol) return false;
  int minCode = 0, maxCode = 0;
  XDisplayKeycodes(display.get(), &minCode, &maxCode);
  int perCode = 0;
  KeySym* map = XGetKeyboardMapping(display.get(), KeyCode(minCode), maxCode - minCode + 1, &perCode);
  int spare = 0;
  for (int code = maxCode; code >= minCode && spare == 0; --code) {
    bool empty = true;
    for (int i = 0; i < perCode; ++i) empty = empty && map[(code - minCode) * perCode + i] == NoSymbol;
    if (empty) spare = code;
  }
  XFree(map);
  if (spare == 0) return false;
  XChangeKeyboardMapping(display.get(), spare, 1, &keysym, 1);
  XSync(display.get(), False);
  return true;
}

WindowManager::WindowManager() {
  char program[] = "openbox";
  char option[] = "--sm-disable";
  char* argv[] = {program, option, nullptr};
  pid_t pid = -1;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) == 0) pid_ = pid;
  WaitFor([this] { return Ready(); });
}

WindowManager::~WindowManager() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

// A window manager is ready once it takes a new window under its wing. A
// window mapped before that may never be shown, and SDL then waits forever.
bool WindowManager::Ready() const {
  if (pid_ <= 0) return false;
  DisplayPtr display = OpenDisplay();
  if (!display) return false;
  Display* d = display.get();
  const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XSelectInput(d, probe, StructureNotifyMask);
  XMapWindow(d, probe);
  XFlush(d);
  bool managed = false;
  WaitFor([&] {
    XEvent event;
    while (XCheckTypedWindowEvent(d, probe, ReparentNotify, &event)) managed = true;
    return managed;
  }, std::chrono::milliseconds(500));
  XDestroyWindow(d, probe);
  XSync(d, False);
  return managed;
}

void SendCloseRequest(unsigned long window) {
  DisplayPtr display = OpenDisplay();
  if (!display) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display.get(), window, False, NoEventMask, &event);
  XFlush(display.get());
}

struct DamageWatcher::Connection {
  DisplayPtr display = OpenDisplay();
};

DamageWatcher::DamageWatcher(unsigned long window) : connection_(std::make_unique<Connection>()) {
  Display* d = connection_->display.get();
  int errorBase = 0;
  if (!d || !XDamageQueryExtension(d, &eventBase_, &errorBase)) return;
  damage_ = XDamageCreate(d, window, XDamageReportRawRectangles);
  // The server reports the whole window once, as the state to start from.
  Drawn();
}

DamageWatcher::~DamageWatcher() {
  if (damage_) XDamageDestroy(connection_->display.get(), damage_);
}

std::vector<DamageWatcher::Area> DamageWatcher::Drawn() {
  std::vector<Area> drawn;
  Display* d = connection_->display.get();
  if (!damage_) return drawn;
  XSync(d, False);
  XEvent event;
  while (XCheckTypedEvent(d, eventBase_ + XDamageNotify, &event)) {
    const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
    drawn.push_back({notify.area.x, notify.area.y, notify.area.width, notify.area.height});
  }
  return drawn;
}

}  // namespace rt::test
