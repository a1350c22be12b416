#include "gfx/backend/x11_window.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <utility>

namespace rt {

namespace {

// What Xlib's error handlers, which are the process's, need to know. One
// window is watched at a time.
struct Watch {
  std::atomic<Display*> display{nullptr};
  Window window = 0;
  std::atomic<bool> destroyed{false};
  std::function<void()> connectionLost;
  XErrorHandler previousErrorHandler = nullptr;
  XIOErrorHandler previousIOErrorHandler = nullptr;
};
Watch watch;

// Errors on other connections (a test's own, say) go where they went before.
int OnProtocolError(Display* display, XErrorEvent* error) {
  if (display != watch.display.load()) {
    return watch.previousErrorHandler ? watch.previousErrorHandler(display, error) : 0;
  }
  if (error->resourceid == watch.window) watch.destroyed = true;
  // Anything else is a request of SDL's that the server refused; the window
  // goes on without it.
  return 0;
}

// Returning would let Xlib end the process from this thread while the
// drawing thread runs on, and every later Xlib call on the dead connection
// would fail again, so the display thread stays here.
int OnConnectionLost(Display* display) {
  if (display != watch.display.load()) {
    return watch.previousIOErrorHandler ? watch.previousIOErrorHandler(display) : 0;
  }
  watch.connectionLost();
  for (;;) pause();
}

}  // namespace

void X11Window::Attach(SDL_Window* window, std::function<void()> connectionLost) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  watch.window = info.info.x11.window;
  watch.destroyed = false;
  watch.connectionLost = std::move(connectionLost);
  watch.previousErrorHandler = XSetErrorHandler(OnProtocolError);
  watch.previousIOErrorHandler = XSetIOErrorHandler(OnConnectionLost);
  watch.display = info.info.x11.display;
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
  watch.connectionLost = nullptr;
}

void X11Window::Notice(const SDL_SysWMmsg& message) {
  if (!attached_ || message.subsystem != SDL_SYSWM_X11) return;
  const XEvent& event = message.msg.x11.event;
  if (event.type == DestroyNotify && event.xdestroywindow.window == watch.window) watch.destroyed = true;
}

bool X11Window::Destroyed() const { return attached_ && watch.destroyed.load(); }

}  // namespace rt
