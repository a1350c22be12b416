#pragma once

#include <cstdint>
#include <span>

// The keyboard's data tables; the logic that reads them is in key_translate.
// SDL scancodes and keycodes are stored as plain ints so this header needs
// no SDL.
namespace rt::keytables {

// Columns of the translation tables, chosen by the modifiers held.
enum Column { kPlain = 0, kShift = 1, kCtrl = 2, kAlt = 3 };

// High bytes of the extended codes a key posts, by set-1 scancode 0..88;
// 0 means the key's character is used instead.
inline constexpr int kMainRows = 89;
extern const std::uint8_t kMainTable[kMainRows][4];

// Keys reported with the extension prefix and no character. Values up to
// 0xFF are characters; larger ones are extended codes in the high byte.
struct ExtendedRow {
  std::uint8_t scancode;
  std::uint16_t codes[4];
};
std::span<const ExtendedRow> ExtendedTable();

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

}  // namespace rt::keytables
