#pragma once
#include "platform/audio/AudioOutput.h"

#include <cstdint>

namespace plat {

// The audio device through SDL2 audio: 44100 Hz, signed 16-bit stereo. SDL's
// audio thread pulls every frame from the mixer.
class RealAudioOutput : public AudioOutput {
public:
    ~RealAudioOutput() override;

protected:
    bool StartDevice() override;
    void StopDevice() override;

private:
    static void Callback(void* self, uint8_t* stream, int len);
    uint32_t mDevice = 0;
};

} // namespace plat
