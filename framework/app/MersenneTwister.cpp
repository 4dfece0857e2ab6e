#include "framework/app/MersenneTwister.h"

namespace Zelk {

MersenneTwister gMersenneTwister;

void MersenneTwister::Seed(uint32_t seed)
{
    mState[0] = seed ? seed : 4357u;
    for (uint32_t i = 1; i < 624; ++i)
        mState[i] = (mState[i - 1] ^ (mState[i - 1] >> 30)) * 1812433253u + i;
    mIndex = 624;
}

void SeedRandom(uint32_t seed) { gMersenneTwister.Seed(seed); }

} // namespace Zelk
