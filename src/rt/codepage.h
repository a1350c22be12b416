#pragma once

#include <string>
#include <string_view>

namespace rt {

// The game writes its texts in UTF-8 source; the screen and files want code
// page 437 bytes and window titles Windows-1252 bytes. These convert in one
// place. A character the target lacks becomes '?'.
std::string Cp437(std::string_view utf8);
std::string Windows1252(std::string_view utf8);

// The code page 437 byte for a Unicode character; 0 when there is none.
unsigned char UnicodeToCp437(char32_t c);
char32_t Cp437ToUnicode(unsigned char byte);

// Windows-1252 bytes as UTF-8, for handing titles to the window system.
// Bytes that Windows-1252 leaves undefined become U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);

// Decodes one UTF-8 character at `pos` and advances it; malformed input
// yields U+FFFD and advances by one byte.
char32_t DecodeUtf8(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t c);

}  // namespace rt
