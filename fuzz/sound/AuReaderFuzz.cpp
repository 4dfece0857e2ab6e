#include "fuzz/sound/SoundReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundReaderFuzz::Get().Run("sound.au", data, size, &Zelk::DSoundManager::ReadAuFile);
    return 0;
}
