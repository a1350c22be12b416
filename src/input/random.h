#pragma once

namespace rt {

// The process's random generator: MT19937 with its own seeding fill.
// Seed -1 takes the seed from Timer(); any other seed is truncated toward
// zero and its low 32 bits used. Every generator choice gives MT19937.
void Randomize(double seed, int algorithm = 0);

// The next number in [0, 1) in steps of 2^-32; x == 0 repeats the last one
// returned (0 before any draw). Seeds with 0 if Randomize was never called.
double Rnd(float x = 1.0f);

// Back to never seeded with a last value of 0.
void ResetRandom();

}  // namespace rt
