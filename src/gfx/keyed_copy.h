#pragma once

#include <cstdint>

namespace rt {

// Copies `count` 32-bit pixels from `source` to `target`, skipping those whose
// colour (alpha ignored) is `key`; written pixels lose their alpha.
void CopyKeyedRow32(std::uint32_t* target, const std::uint32_t* source, int count, std::uint32_t key);

}  // namespace rt
