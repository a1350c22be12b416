#include "window/x_display.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  std::istringstream ids(
      Shell("xdotool search --onlyvisible --pid " + std::to_string(getpid()) + " 2>/dev/null"));
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

TextProperty ReadTextProperty(unsigned long window, const char* name) {
  DisplayPtr display = OpenDisplay();
  XTextProperty property{};
  if (!display ||
      !XGetTextProperty(display.get(), window, &property, XInternAtom(display.get(), name, False))) {
    return {};
  }
  TextProperty result;
  if (char* type = XGetAtomName(display.get(), property.encoding)) {
    result.type = type;
    XFree(type);
  }
  char** list = nullptr;
  int count = 0;
  if (Xutf8TextPropertyToTextList(display.get(), &property, &list, &count) == Success && count > 0) {
    result.utf8 = list[0];
  }
  if (list) XFreeStringList(list);
  XFree(property.value);
  return result;
}

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

namespace {

KeyCode KeyCodeNamed(Display* display, const std::string& name) {
  XkbDescPtr keyboard = XkbGetMap(display, 0, XkbUseCoreKbd);
  if (!keyboard) return 0;
  KeyCode found = 0;
  if (XkbGetNames(display, XkbKeyNamesMask, keyboard) == Success) {
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code && !found; ++code) {
      const char* keyName = keyboard->names->keys[code].name;
      if (std::strncmp(keyName, name.c_str(), XkbKeyNameLength) == 0 && name.size() <= XkbKeyNameLength) {
        found = KeyCode(code);
      }
    }
  }
  XkbFreeKeyboard(keyboard, 0, True);
  return found;
}

}  // namespace

bool PressChord(const std::vector<std::string>& keyNames) {
  DisplayPtr display = OpenDisplay();
  if (!display) return false;
  std::vector<KeyCode> codes;
  for (const std::string& name : keyNames) {
    codes.push_back(KeyCodeNamed(display.get(), name));
    if (codes.back() == 0) return false;
  }
  for (KeyCode code : codes) XTestFakeKeyEvent(display.get(), code, True, CurrentTime);
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
    XTestFakeKeyEvent(display.get(), *code, False, CurrentTime);
  }
  XSync(display.get(), False);
  return true;
}

bool HoldKey(const std::string& keyName, bool down) {
  DisplayPtr display = OpenDisplay();
  if (!display) return false;
  const KeyCode code = KeyCodeNamed(display.get(), keyName);
  if (code == 0) return false;
  XTestFakeKeyEvent(display.get(), code, down ? True : False, CurrentTime);
  XSync(display.get(), False);
  return true;
}

KeyboardLayout::KeyboardLayout(const std::string& name) : display_(XOpenDisplay(nullptr)) {
  Shell("setxkbmap " + name);
}

KeyboardLayout::~KeyboardLayout() {
  Shell("setxkbmap us");
  if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

NoAutoRepeat::NoAutoRepeat() {
  if (DisplayPtr display = OpenDisplay()) {
    XAutoRepeatOff(display.get());
    XSync(display.get(), False);
  }
}

NoAutoRepeat::~NoAutoRepeat() {
  if (DisplayPtr display = OpenDisplay()) {
    XAutoRepeatOn(display.get());
    XSync(display.get(), False);
  }
}

OtherWindow::OtherWindow() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
  XSelectInput(display, window_, StructureNotifyMask);
  XMapWindow(display, window_);
  XEvent event;
  do XWindowEvent(display, window_, StructureNotifyMask, &event);
  while (event.type != MapNotify);
}

OtherWindow::~OtherWindow() {
  if (!display_) return;
  XDestroyWindow(static_cast<Display*>(display_), window_);
  XCloseDisplay(static_cast<Display*>(display_));
}

void OtherWindow::TakeFocus() {
  if (!display_) return;
  XSetInputFocus(static_cast<Display*>(display_), window_, RevertToParent, CurrentTime);
  XSync(static_cast<Display*>(display_), False);
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
  WaitFor(
      [&] {
        XEvent event;
        while (XCheckTypedWindowEvent(d, probe, ReparentNotify, &event)) managed = true;
        return managed;
      },
      std::chrono::milliseconds(500));
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

void RequestMaximise(unsigned long window) {
  DisplayPtr display = OpenDisplay();
  if (!display) return;
  Display* d = display.get();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // add
  event.xclient.data.l[1] = long(XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_VERT", False));
  event.xclient.data.l[2] = long(XInternAtom(d, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
  event.xclient.data.l[3] = 1;  // from an application
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(d);
}

std::vector<std::string> AtomListProperty(unsigned long window, const char* name) {
  DisplayPtr display = OpenDisplay();
  if (!display) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display.get(), window, XInternAtom(display.get(), name, False), 0, 1024, False,
                         XA_ATOM, &type, &format, &count, &remaining, &data) != Success ||
      !data) {
    return {};
  }
  std::vector<std::string> names;
  const auto* atoms = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < count; ++i) {
    if (char* atomName = XGetAtomName(display.get(), atoms[i])) {
      names.emplace_back(atomName);
      XFree(atomName);
    }
  }
  XFree(data);
  return names;
}

PrivateXServer::PrivateXServer() {
  if (const char* display = std::getenv("DISPLAY")) previousDisplay_ = display;
  int pipe[2];
  if (::pipe(pipe) != 0) return;
  // The server writes its display number to the descriptor it is given.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], 3);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char program[] = "Xvfb";
  char displayFd[] = "-displayfd", fd[] = "3", screen[] = "-screen", zero[] = "0", size[] = "1280x1024x24",
       noListen[] = "-nolisten", tcp[] = "tcp";
  char* argv[] = {program, displayFd, fd, screen, zero, size, noListen, tcp, nullptr};
  pid_t pid = -1;
  const bool spawned = posix_spawnp(&pid, program, &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe[1]);
  std::string number;
  char c = 0;
  while (spawned && read(pipe[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipe[0]);
  if (!spawned) return;
  pid_ = pid;
  if (number.empty()) {
    Kill();
    return;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
}

PrivateXServer::~PrivateXServer() {
  Kill();
  if (previousDisplay_.empty()) {
    unsetenv("DISPLAY");
  } else {
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  }
}

void PrivateXServer::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
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
