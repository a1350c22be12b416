#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace rt {

// What the window needs from X11 that SDL does not give. Xlib ends the whole
// process from whichever thread meets a broken connection or a protocol
// error; here the display thread learns of it instead. SDL also forgets keys
// that stay held while the window is away, and labels the UTF-8 title it
// puts in the legacy title property as Latin-1. Does nothing when SDL does
// not run on X11. Display thread only.
class X11Window {
 public:
  X11Window() = default;
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  // Watches `window`'s connections to its X server; called on the display
  // thread. When they break, the display thread runs `stopDisplayThread`
  // and then stops for good inside Xlib (it must leave nothing behind that
  // others wait for), and the drawing thread, should it meet the break
  // first, ends the program as a lost display does. SDL must be initialised.
  void Attach(SDL_Window* window, std::function<void()> stopDisplayThread);
  // Collects the errors the window's last requests caused, then hands errors
  // back to Xlib. Only while the connection and the window live: a lost
  // window is left attached.
  void Detach();

  // Notes the raw X event of an SDL_SYSWMEVENT.
  void Notice(const SDL_SysWMmsg& message);
  // Whether the window was destroyed from outside: by its destruction event
  // or by an error naming it.
  bool Destroyed() const;
  // Whether the connection to the server broke; any thread may ask.
  static bool ConnectionBroken();

  // Sets the entries of the SDL scancodes of the keys held right now; false
  // (and nothing set) where the server's key codes cannot be read.
  bool HeldKeys(std::array<std::uint8_t, SDL_NUM_SCANCODES>& held) const;

  // The legacy title property in the encoding it is declared in: Latin-1,
  // or compound text for characters Latin-1 lacks.
  void SetLegacyTitle(const std::string& titleUtf8);

 private:
  bool attached_ = false;
  bool evdevKeyCodes_ = false;
  std::string legacyTitle_;
};

}  // namespace rt
