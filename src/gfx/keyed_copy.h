#pragma once

#include <cstddef>
#include <cstdint>

// The copy loops behind Put, on the path ActiveVectorPath() names. Each
// copies a block of `height` rows from rows `sourcePitch` bytes apart to rows
// `targetPitch` bytes apart; the caller has clipped it, and source and target
// do not overlap.
namespace rt {

// `width` 32-bit pixels a row, skipping those whose color (alpha ignored) is
// `key`; written pixels lose their alpha.
void CopyKeyedRows32(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
                     std::ptrdiff_t sourcePitch, int width, int height, std::uint32_t key);

// `rowBytes` bytes a row, all of them.
void CopyRows(std::uint8_t* target, std::ptrdiff_t targetPitch, const std::uint8_t* source,
              std::ptrdiff_t sourcePitch, std::size_t rowBytes, int height);

}  // namespace rt
