#include "gfx/backend/x11_window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <utility>

#include "gfx/backend/sdl_keys.h"
#include "gfx/display_driver.h"

namespace rt {

namespace {

// What Xlib's error handlers, which are the process's, need to know. One
// window is watched at a time.
struct Watch {
  std::atomic<Display*> display{nullptr};
  std::thread::id displayThread;
  Window window = 0;
  std::atomic<bool> destroyed{false};
  std::atomic<bool> broken{false};
  std::function<void()> stopDisplayThread;
  XErrorHandler previousErrorHandler = nullptr;
  XIOErrorHandler previousIOErrorHandler = nullptr;
};
Watch watch;

// SDL talks to the window's server on a second connection too: the drawing
// thread wakes the display thread through it.
bool ToWatchedServer(Display* display) {
  Display* watched = watch.display.load();
  return watched && std::strcmp(XDisplayString(display), XDisplayString(watched)) == 0;
}

// Errors from other servers go where they went before.
int OnProtocolError(Display* display, XErrorEvent* error) {
  if (!ToWatchedServer(display)) {
    return watch.previousErrorHandler ? watch.previousErrorHandler(display, error) : 0;
  }
  if (error->resourceid == watch.window) watch.destroyed = true;
  // Anything else is a request of SDL's that the server refused; the window
  // goes on without it.
  return 0;
}

// Returning would let Xlib end the process from this thread, whichever it
// is, and every later Xlib call on the dead connection would fail again.
int OnConnectionLost(Display* display) {
  if (!ToWatchedServer(display)) {
    return watch.previousIOErrorHandler ? watch.previousIOErrorHandler(display) : 0;
  }
  watch.broken = true;
  // The drawing thread ends the program here, between two operations.
  if (std::this_thread::get_id() != watch.displayThread) EndForLostDisplay();
  // The display thread stays here for good.
  watch.stopDisplayThread();
  for (;;) pause();
}

// The kernel's key codes of the keys a PC keyboard sends with the extension
// prefix, with their set-1 make codes. Below 89 a kernel key code is the
// key's set-1 make code.
struct ExtendedKernelKey {
  int kernelCode;
  int set1;
};
constexpr ExtendedKernelKey kExtendedKernelKeys[] = {
    {96, 28},  {97, 29},  {98, 53},  {99, 55},  {100, 56}, {102, 71}, {103, 72}, {104, 73}, {105, 75},
    {106, 77}, {107, 79}, {108, 80}, {109, 81}, {110, 82}, {111, 83}, {125, 91}, {126, 92}, {127, 93},
};

int SdlScancodeFromKernelCode(int code) {
  if (code > 0 && code < 89) return SdlFromSet1({code, false});
  for (const ExtendedKernelKey& key : kExtendedKernelKeys) {
    if (key.kernelCode == code) return SdlFromSet1({key.set1, true});
  }
  return 0;
}

// Servers with the keyboard rules "evdev" (every current one) number keys
// as the kernel does, plus 8.
bool UsesEvdevKeyCodes(Display* display) {
  const Atom rules = XInternAtom(display, "_XKB_RULES_NAMES", True);
  if (rules == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), rules, 0, 64, False, XA_STRING, &type, &format,
                         &count, &remaining, &data) != Success) {
    return false;
  }
  // The first of its NUL-separated names is the rules file.
  const bool evdev = data && count >= 5 && std::strncmp(reinterpret_cast<char*>(data), "evdev", count) == 0;
  if (data) XFree(data);
  return evdev;
}

}  // namespace

void X11Window::Attach(SDL_Window* window, std::function<void()> stopDisplayThread) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  watch.window = info.info.x11.window;
  watch.displayThread = std::this_thread::get_id();
  watch.destroyed = false;
  watch.broken = false;
  watch.stopDisplayThread = std::move(stopDisplayThread);
  watch.previousErrorHandler = XSetErrorHandler(OnProtocolError);
  watch.previousIOErrorHandler = XSetIOErrorHandler(OnConnectionLost);
  watch.display = info.info.x11.display;
  evdevKeyCodes_ = UsesEvdevKeyCodes(info.info.x11.display);
  // The window's destruction arrives as a raw X event.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  attached_ = true;
}

void X11Window::Detach() {
  if (!attached_) return;
  attached_ = false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
  XSync(watch.display.load(), False);
  XSetErrorHandler(watch.previousErrorHandler);
  XSetIOErrorHandler(watch.previousIOErrorHandler);
  watch.display = nullptr;
  watch.stopDisplayThread = nullptr;
}

void X11Window::Notice(const SDL_SysWMmsg& message) {
  if (!attached_ || message.subsystem != SDL_SYSWM_X11) return;
  const XEvent& event = message.msg.x11.event;
  if (event.type == DestroyNotify && event.xdestroywindow.window == watch.window) watch.destroyed = true;
}

bool X11Window::Destroyed() const { return attached_ && watch.destroyed.load(); }

bool X11Window::ConnectionBroken() { return watch.broken.load(); }

bool X11Window::HeldKeys(std::array<std::uint8_t, SDL_NUM_SCANCODES>& held) const {
  if (!attached_ || !evdevKeyCodes_) return false;
  char keys[32] = {};
  XQueryKeymap(watch.display.load(), keys);
  for (int keyCode = 8; keyCode < 256; ++keyCode) {
    if (!(keys[keyCode / 8] & (1 << (keyCode % 8)))) continue;
    if (const int scancode = SdlScancodeFromKernelCode(keyCode - 8)) held[std::size_t(scancode)] = 1;
  }
  return true;
}

void X11Window::SetLegacyTitle(const std::string& titleUtf8) {
  // The round sets its title every frame; the server hears of changes only.
  if (!attached_ || titleUtf8 == legacyTitle_) return;
  legacyTitle_ = titleUtf8;
  char* text = const_cast<char*>(titleUtf8.c_str());
  XTextProperty property{};
  Display* display = watch.display.load();
  // Latin-1 where it holds every character (the STRING type older window
  // managers read), compound text where not.
  if (Xutf8TextListToTextProperty(display, &text, 1, XStdICCTextStyle, &property) < Success) return;
  XSetWMName(display, watch.window, &property);
  XFree(property.value);
  XFlush(display);
}

}  // namespace rt
