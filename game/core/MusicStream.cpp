#include "game/core/MusicStream.h"
#include "game/core/SoundSystem.h"

#include <algorithm>
#include <cstdint>

int gMusicVolume = 100;

namespace {
constexpr int kMusicGroup = -1;
}

MusicStream::~MusicStream()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (mChannel)
        lib.SetChannelWorker(mChannel, nullptr, this, 100);
}

void MusicStream::Play()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (mChannel && lib.ChannelStatus(mChannel) != plat::SoundLibrary::kEnded) {
        // Still fading out: the same channel rises again from where it is.
        lib.SetChannelWorker(mChannel, &FadeInWorker, this, 50);
        return;
    }
    if (mSample == 0)
        mSample = lib.LoadSample(mPath.c_str(), 0, nullptr);
    mSteps = 0;
    mChannel = lib.PlaySample(mSample, true, kMusicGroup, 1, 0, 0, 44100, 50);
    lib.SetChannelWorker(mChannel, &FadeInWorker, this, 50);
}

void MusicStream::FadeOut()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    lib.SetChannelWorker(mChannel, &FadeOutWorker, this, 100);
}

int MusicStream::StepVolume() const
{
    // Worked out from the step reached, so every fade has even steps.
    return int(int64_t(gMusicVolume) * mSteps / kFadeSteps);
}

void MusicStream::Pause() { GameSoundLibrary().PauseChannel(mChannel, true); }
void MusicStream::Resume() { GameSoundLibrary().PauseChannel(mChannel, false); }

// Workers run under the library's lock and act on the channel they are called for.
int MusicStream::FadeInWorker(int channel, void* data)
{
    auto* s = static_cast<MusicStream*>(data);
    plat::SoundLibrary& lib = GameSoundLibrary();
    s->mSteps = std::min(kFadeSteps, s->mSteps + 1);
    lib.SetChannelVolume(channel, std::min(100, s->StepVolume()));
    if (s->mSteps >= kFadeSteps)
        lib.SetChannelWorker(channel, nullptr, s, 100);
    return 1;
}

int MusicStream::FadeOutWorker(int channel, void* data)
{
    auto* s = static_cast<MusicStream*>(data);
    plat::SoundLibrary& lib = GameSoundLibrary();
    s->mSteps = std::max(0, s->mSteps - 1);
    lib.SetChannelVolume(channel, std::max(0, s->StepVolume()));
    if (s->mSteps <= 0) {
        lib.SetChannelWorker(channel, nullptr, s, 100);
        lib.StopChannel(channel);
        if (s->mChannel == channel)
            s->mChannel = 0;
        lib.UnloadSample(s->mSample);
        s->mSample = 0;
    }
    return 1;
}
