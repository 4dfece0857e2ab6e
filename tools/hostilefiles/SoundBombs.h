#pragma once
#include <cstdint>
#include <string>

namespace hostile {

// A 16-bit stereo wave whose data chunk claims that many bytes and holds 64.
std::string WaveClaiming(uint32_t dataBytes);
// An .au file of 16-bit mu-law whose size claims that many bytes and holds 64.
std::string AuClaiming(uint32_t dataBytes);

} // namespace hostile
