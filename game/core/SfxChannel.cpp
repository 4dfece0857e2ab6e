#include "game/core/SfxChannel.h"
#include "game/core/SfxSample.h"
#include "game/core/SoundSystem.h"

SfxChannel::~SfxChannel() { Stop(); }

void SfxChannel::Play()
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (lib.ChannelStatus(mChannel) == plat::SoundLibrary::kEnded)
        mChannel = lib.PlaySample(mSample->SampleId(), mSample->Loop(), mSample->Group(), 1, 0, gSfxVolume, 44100, 50);
    else
        lib.StartChannel(mChannel);
}

void SfxChannel::Stop() { GameSoundLibrary().StopChannel(mChannel); }
void SfxChannel::Pause() { GameSoundLibrary().PauseChannel(mChannel, true); }
void SfxChannel::Resume() { GameSoundLibrary().PauseChannel(mChannel, false); }
