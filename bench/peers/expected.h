// What each benchmark must produce, drawn the plainest way, and the check
// that compares a whole result with it once before timing: a benchmark whose
// result differs in any pixel reports an error instead of a time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "picture.h"

namespace bench {

// A whole 640 x 480 result as 0xRRGGBB pixels. The alpha byte is left out
// everywhere: no screen shows it, and the peers fill it differently.
using Frame = std::vector<std::uint32_t>;

// Any 32-bit pixel rows (`pitch` pixels apart) as a frame.
Frame FrameOf(const std::uint32_t* rows, int pitch);
Frame FrameOf(const std::vector<std::uint32_t>& argb);

// Copies a sprite from MakeSprite onto the frame, all of it or all but its key.
void PutOpaque(Frame& frame, const std::vector<std::uint32_t>& sprite, int width, int height, int x, int y);
void PutKeyed(Frame& frame, const std::vector<std::uint32_t>& sprite, int width, int height, int x, int y);

// The 8 x 16 glyphs of the bytes at (x, y), clipped to the frame: only the
// set bits in `ink`, or whole cells of `ink` on `paper`.
void DrawTextOver(Frame& frame, int x, int y, std::string_view text, std::uint32_t ink);
void DrawTextCells(Frame& frame, int x, int y, std::string_view text, std::uint32_t ink, std::uint32_t paper);

// Empty when the frames are equal, else how many pixels differ and the first.
std::string Difference(const Frame& actual, const Frame& expected);

// Reports an error instead of a time, before the timing loop. It still enters
// the loop, which then runs no iteration: Google Benchmark 1.7.1 aborts a run
// with repetitions when an errored repetition counts other iterations than
// the others, and one that never entered the loop counts none.
void Fail(benchmark::State& state, const char* why);

// Compares every pixel before the timing loop; on a difference the benchmark
// fails with it and the answer is false.
bool Verify(benchmark::State& state, const Frame& actual, const Frame& expected);

}  // namespace bench
