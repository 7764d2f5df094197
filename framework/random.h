// The process's pseudo-random sequence: a linear congruential generator that gives the same
// numbers for the same seed.
#pragma once

#include <cstdint>

// Starts the sequence anew from a seed.
void SetRandSeed(std::uint32_t seed);
// The next number of the sequence, from 0 to range - 1; 0 when range is 0 or less.
int Random(int range);
