#include "framework/sound/DSoundManager.h"
#include "framework/sound/DSoundInstance.h"
#include "framework/sound/FmodInstance.h"
#include "platform/Platform.h"
#include "platform/audio/WaveOutVolume.h"
#include "platform/clock/Clock.h"
#include "platform/dsound/DirectSound.h"
#include "platform/modules/Modules.h"

namespace Zelk {

DSoundManager::DSoundManager(plat::WindowHandle window, bool useFmod) : mLoadMp3s(useFmod)
{
    for (double& v : mBaseVolumes)
        v = 1.0;
    if (!window)
        return;
    plat::Modules* modules = plat::Get().modules;
    if (modules && !modules->Load("dsound.dll"))
        return;
    if (plat::Failed(plat::DirectSoundCreate(&mDirectSound))) {
        mDirectSound = nullptr;
        return;
    }
    if (mLoadMp3s) {
        FMOD_INSTANCE* fmod = GetFmodInstance();
        fmod->FSOUND_SetHWND(reinterpret_cast<void*>(window));
        fmod->FSOUND_SetBufferSize(200);
        fmod->FSOUND_Init(44100, 64, 2);
    }
    if (plat::Failed(mDirectSound->SetCooperativeLevel(window, plat::DSSCL_PRIORITY))) {
        mDirectSound->SetCooperativeLevel(window, plat::DSSCL_NORMAL);
        return;
    }
    plat::SoundBufferDesc desc;
    desc.flags = plat::DSBCAPS_PRIMARYBUFFER;
    if (plat::Failed(mDirectSound->CreateSoundBuffer(desc, &mPrimaryBuffer))) {
        mPrimaryBuffer = nullptr;
        return;
    }
    plat::WaveFormat format;
    format.formatTag = plat::WAVE_FORMAT_PCM;
    format.channels = 2;
    format.samplesPerSec = 44100;
    format.bitsPerSample = 16;
    format.blockAlign = 4;
    format.avgBytesPerSec = 176400;
    format.extraSize = 18;
    mPrimaryBuffer->SetFormat(format);
}

DSoundManager::~DSoundManager()
{
    ReleaseChannels();
    ReleaseSounds();
    delete mPrimaryBuffer;
    mPrimaryBuffer = nullptr;
    if (mDirectSound) {
        if (mLoadMp3s)
            if (FMOD_INSTANCE* fmod = PeekFmodInstance())
                fmod->FSOUND_Close();
        delete mDirectSound;
        mDirectSound = nullptr;
        if (mLoadMp3s)
            FreeFmodInstance();
    }
}

bool DSoundManager::Initialized() { return mDirectSound != nullptr; }

int DSoundManager::FindSoundId(const std::string& fileName)
{
    for (int i = 0; i < kMaxSounds; ++i)
        if (mSourceFileNames[i] == fileName)
            return i;
    for (int i = kMaxSounds - 1; i >= 0; --i) {
        if (!mSourceSounds[i])
            return LoadSound(unsigned(i), fileName) ? i : -1;
    }
    return -1;
}

void DSoundManager::ReleaseSound(unsigned int id)
{
    if (id >= unsigned(kMaxSounds) || !mSourceSounds[id])
        return;
    delete mSourceSounds[id];
    mSourceSounds[id] = nullptr;
    mSourceFileNames[id].clear();
}

void DSoundManager::DropBuffer(unsigned int id)
{
    if (id >= unsigned(kMaxSounds))
        return;
    delete mSourceSounds[id];
    mSourceSounds[id] = nullptr;
    mSourceDataSizes[id] = 0;
}

plat::SoundBuffer* DSoundManager::CreateSoundBuffer(unsigned int id, uint16_t channels, uint32_t rate, uint16_t bits,
                                                    uint32_t bytes)
{
    if (id >= unsigned(kMaxSounds) || !mDirectSound)
        return nullptr;
    DropBuffer(id);
    plat::WaveFormat format;
    format.formatTag = plat::WAVE_FORMAT_PCM;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = uint16_t(bits * channels / 8);
    format.avgBytesPerSec = format.blockAlign * rate;
    plat::SoundBufferDesc desc;
    desc.size = 20;
    desc.flags = plat::DSBCAPS_STATIC | plat::DSBCAPS_LOCSOFTWARE | plat::DSBCAPS_CTRLFREQUENCY |
                 plat::DSBCAPS_CTRLPAN | plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_GLOBALFOCUS;
    desc.bufferBytes = bytes;
    desc.format = &format;
    plat::SoundBuffer* buffer = nullptr;
    if (plat::Failed(mDirectSound->CreateSoundBuffer(desc, &buffer)))
        return nullptr;
    mSourceSounds[id] = buffer;
    mSourceDataSizes[id] = bytes;
    return buffer;
}

void DSoundManager::SetVolume(double volume)
{
    mMasterVolume = volume;
    for (DSoundInstance* inst : mPlayingSounds)
        if (inst)
            inst->RehupVolume();
}

bool DSoundManager::SetBaseVolume(unsigned int id, double baseVolume)
{
    if (id >= unsigned(kMaxSounds))
        return false;
    mBaseVolumes[id] = baseVolume;
    return true;
}

bool DSoundManager::SetBasePan(unsigned int id, int basePan)
{
    if (id >= unsigned(kMaxSounds))
        return false;
    mBasePans[id] = basePan;
    return true;
}

SoundInstance* DSoundManager::GetSoundInstance(unsigned int id)
{
    if (id >= unsigned(kMaxSounds))
        return nullptr;
    int channel = FindFreeChannel();
    if (channel < 0)
        return nullptr;
    DSoundInstance* inst;
    if (!mDirectSound) {
        inst = new DSoundInstance(this, nullptr);
    } else {
        if (!mSourceSounds[id])
            return nullptr;
        inst = new DSoundInstance(this, mSourceSounds[id]);
        if (inst->DuplicateFailed()) {
            delete inst;
            return nullptr;
        }
    }
    mPlayingSounds[channel] = inst;
    inst->SetBasePan(mBasePans[id]);
    inst->SetBaseVolume(mBaseVolumes[id]);
    return inst;
}

int DSoundManager::FindFreeChannel()
{
    uint32_t tick = plat::GetTickCount();
    if (uint32_t(tick - mLastReleaseTick) > 1000) {
        ReleaseFinishedChannels();
        mLastReleaseTick = tick;
    }
    for (int i = 0; i < kMaxChannels; ++i) {
        if (!mPlayingSounds[i])
            return i;
        if (mPlayingSounds[i]->IsReleased()) {
            delete mPlayingSounds[i];
            mPlayingSounds[i] = nullptr;
            return i;
        }
    }
    return -1;
}

void DSoundManager::ReleaseFinishedChannels()
{
    for (DSoundInstance*& inst : mPlayingSounds) {
        if (inst && inst->IsReleased()) {
            delete inst;
            inst = nullptr;
        }
    }
}

void DSoundManager::ReleaseSounds()
{
    for (plat::SoundBuffer*& buffer : mSourceSounds) {
        delete buffer;
        buffer = nullptr;
    }
}

void DSoundManager::ReleaseChannels()
{
    for (DSoundInstance*& inst : mPlayingSounds) {
        delete inst;
        inst = nullptr;
    }
}

double DSoundManager::GetMasterVolume() { return plat::GetWaveOutVolume() / 65535.0; }

void DSoundManager::SetMasterVolume(double volume)
{
    double value = volume * 65535.0;
    if (!(value > 0.0))
        value = 0.0;
    if (value > 65535.0)
        value = 65535.0;
    plat::SetWaveOutVolume(uint32_t(value));
}

void DSoundManager::Flush() {}

void DSoundManager::SetCooperativeWindow(plat::WindowHandle window, bool isWindowed)
{
    if (mDirectSound)
        mDirectSound->SetCooperativeLevel(window, plat::DSSCL_NORMAL);
}

void DSoundManager::StopAllSounds()
{
    for (DSoundInstance* inst : mPlayingSounds) {
        if (!inst)
            continue;
        bool autoRelease = inst->mAutoRelease;
        inst->Stop();
        inst->mAutoRelease = autoRelease;
    }
}

int DSoundManager::GetFreeSoundId()
{
    for (int i = 0; i < kMaxSounds; ++i)
        if (!mSourceSounds[i])
            return i;
    return -1;
}

int DSoundManager::GetNumSounds()
{
    int n = 0;
    for (plat::SoundBuffer* buffer : mSourceSounds)
        if (buffer)
            ++n;
    return n;
}

plat::SoundBuffer* DSoundManager::GetSoundBuffer(unsigned int id) const
{
    return id < unsigned(kMaxSounds) ? mSourceSounds[id] : nullptr;
}

uint32_t DSoundManager::GetSampleLength(unsigned int id) const
{
    return id < unsigned(kMaxSounds) ? mSourceDataSizes[id] : 0;
}

std::string DSoundManager::GetSoundFileName(unsigned int id) const
{
    return id < unsigned(kMaxSounds) ? mSourceFileNames[id] : std::string();
}

SoundInstance* DSoundManager::GetChannel(int channel) const
{
    return channel >= 0 && channel < kMaxChannels ? mPlayingSounds[channel] : nullptr;
}

} // namespace Zelk
