#pragma once

#include <cstdint>
#include <span>

// The key translation's data tables; the logic that reads them is in
// key_translate.
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

}  // namespace rt::keytables
