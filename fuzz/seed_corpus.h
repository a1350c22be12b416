#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rt::fuzz {

// A starting input for a fuzzer, ready to run: the target-picking bytes the
// fuzzer expects come first.
struct Seed {
  std::string name;
  std::string bytes;
};

// The seeds of a fuzzer, by its name (as in <name>_fuzz.cpp); none for
// another name. Made anew on every call, with
// the runtime's own writers where a file has a real writer.
std::vector<Seed> SeedsFor(std::string_view fuzzer);

}  // namespace rt::fuzz
