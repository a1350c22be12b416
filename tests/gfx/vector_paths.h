#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gfx/vector_path.h"

namespace rt::test {

// The vector paths this processor runs, so that one machine tests each.
inline std::vector<VectorPath> RunnablePaths() {
  std::vector<VectorPath> paths;
  for (VectorPath p : {VectorPath::Portable, VectorPath::Sse2, VectorPath::Avx2}) {
    if (ProcessorRuns(p)) paths.push_back(p);
  }
  return paths;
}

inline std::string PathName(VectorPath path) {
  switch (path) {
    case VectorPath::Portable: return "portable";
    case VectorPath::Sse2: return "SSE2";
    case VectorPath::Avx2: return "AVX2";
  }
  return "?";
}

// The pixel loops take `path` for the life of this object.
class PinnedPath {
 public:
  explicit PinnedPath(VectorPath path) { PinVectorPath(path); }
  ~PinnedPath() { PinVectorPath(std::nullopt); }
  PinnedPath(const PinnedPath&) = delete;
  PinnedPath& operator=(const PinnedPath&) = delete;
};

}  // namespace rt::test
