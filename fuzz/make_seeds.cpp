// Writes the seed corpora: make_fuzz_seeds <folder> <fuzzer>... puts each
// fuzzer's seeds into <folder>/<fuzzer>/.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "seed_corpus.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <folder> <fuzzer>...\n", argv[0]);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / argv[i];
    std::filesystem::create_directories(folder);
    const auto seeds = rt::fuzz::SeedsFor(argv[i]);
    if (seeds.empty()) {
      std::fprintf(stderr, "no seeds for %s\n", argv[i]);
      return 1;
    }
    for (const rt::fuzz::Seed& seed : seeds) {
      std::ofstream out(folder / seed.name, std::ios::binary | std::ios::trunc);
      if (!out.write(seed.bytes.data(), std::streamsize(seed.bytes.size()))) {
        std::fprintf(stderr, "cannot write %s\n", (folder / seed.name).c_str());
        return 1;
      }
    }
  }
  return 0;
}
