#include "random.h"

namespace {
std::uint32_t randSeed = 0;
}

void SetRandSeed(std::uint32_t seed) {
    randSeed = seed;
}

int Random(int range) {
    randSeed = randSeed * 0x08088405u + 1u;
    if (range <= 0)
        return 0;
    return static_cast<int>(
        (static_cast<std::uint64_t>(randSeed) * static_cast<std::uint32_t>(range)) >> 32);
}
