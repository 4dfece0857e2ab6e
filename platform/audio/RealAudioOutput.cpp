#include "platform/audio/RealAudioOutput.h"
#include "platform/crash/CrashSignals.h"
#include "platform/debug/DebugSink.h"

#include <SDL.h>

namespace plat {

RealAudioOutput::~RealAudioOutput()
{
    if (mDevice)
        StopDevice();
}

void RealAudioOutput::Callback(void* self, uint8_t* stream, int len)
{
    // The desktop library's thread runs the mix: it is made ready for a
    // crash like the program's own threads (once; later calls return at once).
    PrepareThreadForCrashes();
    auto* out = static_cast<RealAudioOutput*>(self);
    out->mMixer.Mix(reinterpret_cast<int16_t*>(stream), size_t(len) / 4);
}

bool RealAudioOutput::StartDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        OutputDebugString(std::string("Audio: ") + SDL_GetError() + "\n");
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = int(Mixer::kOutputRate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &RealAudioOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    mDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!mDevice) {
        OutputDebugString(std::string("Audio: ") + SDL_GetError() + "\n");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(mDevice, 0);
    return true;
}

void RealAudioOutput::StopDevice()
{
    if (!mDevice)
        return;
    SDL_CloseAudioDevice(mDevice);
    mDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace plat
