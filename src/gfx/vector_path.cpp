#include "gfx/vector_path.h"

#include <cassert>

namespace rt {

namespace {

VectorPath BestPath() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? VectorPath::Avx2 : VectorPath::Sse2;
#else
  return VectorPath::Portable;
#endif
}

// Before these are set (only other static initialisers could see that) the
// portable path runs, which is right anywhere.
const VectorPath kBest = BestPath();
VectorPath active = kBest;

}  // namespace

VectorPath ActiveVectorPath() { return active; }

bool ProcessorRuns(VectorPath path) { return path <= kBest; }

void PinVectorPath(std::optional<VectorPath> path) {
  assert(!path || ProcessorRuns(*path));
  active = path.value_or(kBest);
}

}  // namespace rt
