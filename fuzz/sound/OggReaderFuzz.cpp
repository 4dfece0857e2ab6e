// Any bytes as an Ogg Vorbis sound through the sound manager's decoder: the
// stream is checked against its pages, opened and decoded into a buffer.
#include "fuzz/sound/SoundReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundReaderFuzz& fuzz = SoundReaderFuzz::Get();
    // Refusals are reported on the developer output: keep it off the terminal.
    fuzz.platform.debug.StartCapture();
    fuzz.Run("sound.ogg", data, size, &Zelk::DSoundManager::DecodeOgg);
    fuzz.platform.debug.StopCapture();
    return 0;
}
