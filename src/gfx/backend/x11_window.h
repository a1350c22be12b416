#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>

namespace rt {

// What the window needs from X11 that SDL does not give. Xlib ends the whole
// process from whichever thread meets a broken connection or a protocol
// error; here the display thread learns of it instead. Does nothing when SDL
// does not run on X11. Display thread only.
class X11Window {
 public:
  X11Window() = default;
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  // Watches `window`'s X connection. When it breaks, `connectionLost` runs on
  // the display thread, which then stops for good inside Xlib: it must leave
  // nothing behind that others wait for. SDL must be initialised.
  void Attach(SDL_Window* window, std::function<void()> connectionLost);
  // Collects the errors the window's last requests caused, then hands errors
  // back to Xlib. Only while the connection and the window live: a lost
  // window is left attached.
  void Detach();

  // Notes the raw X event of an SDL_SYSWMEVENT.
  void Notice(const SDL_SysWMmsg& message);
  // Whether the window was destroyed from outside: by its destruction event
  // or by an error naming it.
  bool Destroyed() const;

  // Sets the entries of the SDL scancodes of the keys held right now; false
  // (and nothing set) where the server's key codes cannot be read.
  bool HeldKeys(std::array<std::uint8_t, SDL_NUM_SCANCODES>& held) const;

 private:
  bool attached_ = false;
  bool evdevKeyCodes_ = false;
};

}  // namespace rt
