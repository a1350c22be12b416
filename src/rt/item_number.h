#pragma once

#include <string_view>

namespace rt {

// The value of a number item, as FileInputInt reads it:
// - floating point: decimal, rounded to nearest with halves to even, and
//   saturated to the int range (so "1e999" gives 2147483647);
// - "&H1F", "&O17", "&B101", "&17" (octal): hexadecimal, octal, binary;
// - otherwise an optional sign and decimal digits up to the first other
//   character, as an unsigned 32-bit magnitude (saturated at 4294967295),
//   negated modulo 2^32 for "-", then taken as signed: "4294967295" is -1.
// No digits give 0. Ampersand numbers saturate at 4294967295 as well.
int ItemToInt(std::string_view item, bool floatingPoint);

}  // namespace rt
