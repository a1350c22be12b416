// Runs one fuzz target on its seeds and on every committed finding. A target
// aborts on a broken property, and the sanitizer builds catch memory errors,
// so a replay that comes back is a pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "seed_corpus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace rt::fuzz {
namespace {

void Replay(const std::string& bytes) {
  EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
}

std::vector<Seed> Findings() {
  std::vector<Seed> findings;
  if (!std::filesystem::is_directory(MORVANTA_FUZZ_FINDINGS)) return findings;
  for (const auto& entry : std::filesystem::directory_iterator(MORVANTA_FUZZ_FINDINGS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    findings.push_back({entry.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
  }
  std::sort(findings.begin(), findings.end(), [](const Seed& a, const Seed& b) { return a.name < b.name; });
  return findings;
}

TEST(MORVANTA_FUZZ_SUITE, EverySeedAndEveryPastFindingRunsCleanly) {
  const std::vector<Seed> seeds = SeedsFor(MORVANTA_FUZZER);
  ASSERT_FALSE(seeds.empty());
  for (const Seed& seed : seeds) {
    SCOPED_TRACE("seed " + seed.name);
    Replay(seed.bytes);
  }
  for (const Seed& finding : Findings()) {
    SCOPED_TRACE("finding " + finding.name);
    Replay(finding.bytes);
  }
}

// Every target reads its choices from the low bits of the first byte.
TEST(MORVANTA_FUZZ_SUITE, EmptyAndOneByteInputsRunCleanly) {
  Replay("");
  for (int b = 0; b < 32; ++b) Replay(std::string(1, char(b)));
  Replay("\xFF");
}

}  // namespace
}  // namespace rt::fuzz
