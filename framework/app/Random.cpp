#include "framework/app/Random.h"

#include <atomic>
#include <cmath>

namespace Zelk {

namespace {
std::atomic<uint32_t> gRandState{1};
}

int Rand()
{
    uint32_t s = gRandState.load(std::memory_order_relaxed), n;
    do {
        n = s * 214013u + 2531011u;
    } while (!gRandState.compare_exchange_weak(s, n, std::memory_order_relaxed));
    return int((n >> 16) & 0x7FFF);
}

void SRand(uint32_t seed) { gRandState.store(seed); }

float RandomFloat(float min, float max)
{
    return min + (max - min) * float(Rand()) / 32767.0f;
}

int RandomInt(int min, int max)
{
    int v = min + int(std::floor(double(max - min + 1) * double(Rand()) / 32767.0));
    return v > max ? max : v;
}

} // namespace Zelk
