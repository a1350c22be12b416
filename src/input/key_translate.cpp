#include "input/key_translate.h"

#include "input/key_codes.h"
#include "input/key_tables.h"

namespace rt {

namespace {

using keytables::Column;

Column ChooseColumn(int modifiers) {
  if (modifiers & (kModLeftAlt | kModRightAlt)) return keytables::kAlt;
  if (modifiers & (kModLeftCtrl | kModRightCtrl)) return keytables::kCtrl;
  if (modifiers & kModShift) return keytables::kShift;
  return keytables::kPlain;
}

int CharacterOrNone(int character) { return character != 0 ? character : -1; }

int SwapCase(int c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
  return c;
}

int TranslateExtended(int scanByte, Column column) {
  for (const keytables::ExtendedRow& row : keytables::ExtendedTable()) {
    if (row.scancode != scanByte) continue;
    const int entry = row.codes[column];
    if (entry == 0) return -1;
    return entry <= 0xFF ? entry : ExtendedKeyCode(entry >> 8);
  }
  return -1;
}

}  // namespace

int TranslateKey(int character, int scanByte, int keyCharacter, int modifiers) {
  const Column column = ChooseColumn(modifiers);
  if ((modifiers & kModExtended) && character == 0) return TranslateExtended(scanByte, column);
  if (scanByte < 0 || scanByte >= keytables::kMainRows) return CharacterOrNone(character);
  const bool anyModifier = (modifiers & 0x1F) != 0;
  if (!anyModifier && character != 0) return character;
  const int entry = keytables::kMainTable[scanByte][column];
  const int m = keyCharacter & 0xFFFF;
  if (entry != 0 && (character == m || character == SwapCase(m))) return ExtendedKeyCode(entry);
  return CharacterOrNone(character);
}

}  // namespace rt
