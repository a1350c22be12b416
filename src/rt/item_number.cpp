#include "rt/item_number.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace rt {

namespace {

constexpr std::uint32_t kMaxMagnitude = 0xFFFFFFFFu;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Digits of `base` up to the first other character.
std::uint32_t ReadMagnitude(std::string_view digits, int base) {
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = DigitValue(c);
    if (digit >= base) break;
    value = value * base + digit;
    if (value > kMaxMagnitude) return kMaxMagnitude;
  }
  return static_cast<std::uint32_t>(value);
}

int ReadDecimal(std::string_view item) {
  const bool negative = !item.empty() && item[0] == '-';
  if (!item.empty() && (item[0] == '-' || item[0] == '+')) item.remove_prefix(1);
  std::uint32_t magnitude = ReadMagnitude(item, 10);
  if (negative) magnitude = 0u - magnitude;
  return static_cast<int>(magnitude);  // modulo 2^32
}

int ReadAmpersandNumber(std::string_view item) {
  switch (item[1]) {
    case 'H':
    case 'h': return static_cast<int>(ReadMagnitude(item.substr(2), 16));
    case 'O':
    case 'o': return static_cast<int>(ReadMagnitude(item.substr(2), 8));
    case 'B':
    case 'b': return static_cast<int>(ReadMagnitude(item.substr(2), 2));
    default: return static_cast<int>(ReadMagnitude(item.substr(1), 8));
  }
}

// The length of the longest prefix of the form [+-]digits[.digits][e[+-]digits]
// with at least one mantissa digit; 0 when there is none. Keeping to this
// grammar leaves out what strtod would also take (hexadecimal, inf, nan).
std::size_t DecimalFloatLength(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t mantissaDigits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

double ParseDecimalFloat(std::string_view item) {
  const std::string number(item.substr(0, DecimalFloatLength(item)));
  if (number.empty()) return 0;
  // The decimal point is '.' whatever locale the program has set.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return cLocale ? strtod_l(number.c_str(), nullptr, cLocale) : std::strtod(number.c_str(), nullptr);
}

double RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

int SaturateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

}  // namespace

int ItemToInt(std::string_view item, bool floatingPoint) {
  item = SkipBlanks(item);
  if (floatingPoint) return SaturateToInt(RoundHalfToEven(ParseDecimalFloat(item)));
  if (item.size() >= 2 && item[0] == '&') return ReadAmpersandNumber(item);
  return ReadDecimal(item);
}

}  // namespace rt
