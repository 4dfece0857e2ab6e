#pragma once
#include <cstdint>

namespace Zelk {

// The program's random generator (what the system calls rand and srand):
// state = state x 214013 + 2531011, result (state >> 16) & 0x7FFF. One
// generator for the whole process; the C library's rand is never used.
constexpr int RAND_MAX_VALUE = 32767;
int Rand();
void SRand(uint32_t seed);

// min + (max - min) x Rand() / 32767.
float RandomFloat(float min, float max);
// min + floor((max - min + 1) x Rand() / 32767), never above max.
int RandomInt(int min, int max);

} // namespace Zelk
