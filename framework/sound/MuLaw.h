#pragma once
#include <cstdint>

namespace Zelk {

// One 8-bit mu-law byte of an ".au" file as a signed 16-bit sample.
int16_t MuLawToLinear(uint8_t b);

} // namespace Zelk
