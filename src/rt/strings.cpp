#include "rt/strings.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rt {

std::string StrFromInt(int value) { return std::to_string(value); }

std::string StrConcat(std::string_view a, std::string_view b) try {
  std::string joined;
  joined.reserve(a.size() + b.size());
  joined.append(a).append(b);
  return joined;
} catch (const std::bad_alloc&) {
  return {};
}

int StrCompare(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  // memcmp compares as unsigned char, which is the order wanted here.
  const int byBytes = common ? std::memcmp(a.data(), b.data(), common) : 0;
  if (byBytes != 0) return byBytes < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace rt
