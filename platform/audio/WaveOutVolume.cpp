#include "platform/audio/WaveOutVolume.h"

#include <atomic>

namespace plat {

namespace {
std::atomic<uint32_t> gWaveOutVolume{0xFFFF};
}

uint32_t GetWaveOutVolume() { return gWaveOutVolume.load(); }

void SetWaveOutVolume(uint32_t value) { gWaveOutVolume.store(value > 0xFFFF ? 0xFFFF : value); }

} // namespace plat
