#pragma once
#include <cstdint>

namespace Zelk {

// State of a Mersenne Twister generator. The system only seeds it.
class MersenneTwister {
public:
    MersenneTwister() { Seed(4357); }
    void Seed(uint32_t seed);
    uint32_t mState[624];
    int32_t mIndex = 0;
};

extern MersenneTwister gMersenneTwister;
void SeedRandom(uint32_t seed);

} // namespace Zelk
