#pragma once

#include <string>
#include <string_view>

namespace rt {

// Strings are std::string used as byte strings (code page 437 on screen and
// in files). These are the few conversions the game needs beyond what
// std::string gives.

// Decimal text of a signed 32-bit value: "-15", "0", never a leading blank.
std::string StrFromInt(int value);

// The empty string when memory runs out.
std::string StrConcat(std::string_view a, std::string_view b);

// -1, 0 or 1, comparing bytes as unsigned values (so 0x81, "ü", sorts after
// every ASCII letter); when one is a prefix of the other the shorter is smaller.
int StrCompare(std::string_view a, std::string_view b);

}  // namespace rt
