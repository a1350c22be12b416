#pragma once

#include <cstdint>
#include <span>

// The SDL back end's keyboard tables; sdl_keys reads them. SDL scancodes and
// keycodes are stored as plain ints.
namespace rt::sdlkeys {

// The PC set-1 make code of an SDL scancode; `extended` for keys a PC
// keyboard sends with the extension prefix.
struct Set1Row {
  int sdlScancode;
  std::uint8_t scancode;
  bool extended;
};
std::span<const Set1Row> Set1Table();

// The key-state table's rows: which keys hold each set-1 entry. A row reads
// either physical keys (SDL scancodes) or, for letters, the key that types
// the letter on the active layout (an SDL keycode).
enum class Source : std::uint8_t { kPhysical, kLayout };
struct KeyStateRow {
  std::uint8_t scancode;
  Source source;
  int first;
  int second;  // 0: none
};
std::span<const KeyStateRow> KeyStateTable();

}  // namespace rt::sdlkeys
