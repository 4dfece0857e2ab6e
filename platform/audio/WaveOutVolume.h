#pragma once
#include <cstdint>

namespace plat {

// The system's wave-output volume as the system mixer reports it, 0..65535 on
// one channel. Kept in memory for the program's run: the host's own mixer is
// never touched.
uint32_t GetWaveOutVolume();
void SetWaveOutVolume(uint32_t value);

} // namespace plat
