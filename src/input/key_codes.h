#pragma once

// Key codes, as the key queue carries them and Inkey returns them: 1..255 a
// code page 437 byte (controls included), 0 an empty character, above 255
// an extended key whose low byte is 255 and whose high byte is the key's
// extended code.
namespace rt {

constexpr int ExtendedKeyCode(int highByte) { return (highByte << 8) | 0xFF; }

// Control characters a key types.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyCtrlEnter = 10;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

// Extended keys.
inline constexpr int kKeyHome = ExtendedKeyCode(0x47);
inline constexpr int kKeyUp = ExtendedKeyCode(0x48);
inline constexpr int kKeyLeft = ExtendedKeyCode(0x4B);
inline constexpr int kKeyRight = ExtendedKeyCode(0x4D);
inline constexpr int kKeyEnd = ExtendedKeyCode(0x4F);
inline constexpr int kKeyDown = ExtendedKeyCode(0x50);
inline constexpr int kKeyDelete = ExtendedKeyCode(0x53);
// The window's close button; Alt+F4 translates to it too.
inline constexpr int kKeyClose = ExtendedKeyCode(0x6B);

}  // namespace rt
