#include "fuzz/sound/SoundReaderFuzz.h"

// Cached sound files: the wave reader with the source-time and key chunks the
// cache writer adds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundReaderFuzz::Get().Run("cached\\snd\\sound.wav", data, size, &Zelk::DSoundManager::ReadWaveFile);
    return 0;
}
