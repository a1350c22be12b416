#pragma once

#include <optional>

namespace rt {

// The instruction sets the pixel loops are written for. Portable is plain
// C++, the only path off x86; Sse2 is every x86-64 processor; Avx2 is chosen
// at run time where the processor has it.
enum class VectorPath { Portable, Sse2, Avx2 };

// The path the pixel loops take: the best this processor runs, unless one
// was pinned.
VectorPath ActiveVectorPath();

// Whether this processor runs `path`.
bool ProcessorRuns(VectorPath path);

// Makes the loops take `path` (one the processor runs) until it is unpinned
// with nullopt, so that tests exercise every path on one machine.
void PinVectorPath(std::optional<VectorPath> path);

}  // namespace rt
