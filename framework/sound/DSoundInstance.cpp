#include "framework/sound/DSoundInstance.h"
#include "framework/app/StringUtil.h"
#include "framework/sound/DSoundManager.h"
#include "platform/dsound/DirectSound.h"

#include <cmath>

namespace Zelk {

namespace {

std::string DuplicateErrorName(plat::DsResult r)
{
    switch (r) {
    case plat::DSERR_ALLOCATED:
        return "DSERR_ALLOCATED";
    case plat::DSERR_INVALIDCALL:
        return "DSERR_INVALIDCALL";
    case plat::DSERR_UNINITIALIZED:
        return "DSERR_UNINITIALIZED";
    case plat::DSERR_OUTOFMEMORY:
        return "DSERR_OUTOFMEMORY";
    case plat::DSERR_INVALIDPARAM:
        return "DSERR_INVALIDPARAM";
    default:
        return StrFormat("%x", uint32_t(r));
    }
}

} // namespace

DSoundInstance::DSoundInstance(DSoundManager* manager, plat::SoundBuffer* sourceSound)
    : mManager(manager), mSourceSound(sourceSound)
{
    if (mSourceSound) {
        plat::DsResult r = mManager->mDirectSound->DuplicateSoundBuffer(mSourceSound, &mSoundBuffer);
        if (plat::Failed(r)) {
            // The caller gets no instance and skips the sound; the program goes on.
            DebugPrint("DuplicateSoundBuffer failed: %s\n", DuplicateErrorName(r).c_str());
            mSoundBuffer = nullptr;
            mDuplicateFailed = true;
            return;
        }
    }
    if (mSoundBuffer)
        mSoundBuffer->GetFrequency(&mDefaultFrequency);
    RehupVolume();
}

DSoundInstance::~DSoundInstance() { delete mSoundBuffer; }

int32_t DSoundInstance::VolumeToAttenuation(double volume)
{
    double level = 9.0 * volume + 1.0;
    if (!(level > 0.0))
        return plat::DSBVOLUME_MIN;
    int32_t db = int32_t((std::log10(level) - 1.0) * 2333.0);
    if (db < -2000)
        db = plat::DSBVOLUME_MIN;
    return db;
}

void DSoundInstance::RehupVolume()
{
    if (mSoundBuffer)
        mSoundBuffer->SetVolume(VolumeToAttenuation(mManager->mMasterVolume * mBaseVolume * mVolume));
}

void DSoundInstance::Release()
{
    Stop();
    mReleased = true;
}

void DSoundInstance::SetBaseVolume(double baseVolume)
{
    mBaseVolume = baseVolume;
    RehupVolume();
}

void DSoundInstance::SetVolume(double volume)
{
    mVolume = volume;
    RehupVolume();
}

void DSoundInstance::SetBasePan(int basePan)
{
    mBasePan = basePan;
    SetPan(mPan);
}

void DSoundInstance::SetPan(int pan)
{
    mPan = pan;
    if (!mSoundBuffer)
        return;
    // Clamped, because the buffer refuses anything beyond full left or right
    // and would silently keep its old pan.
    long total = long(mBasePan) + long(mPan);
    if (total < plat::DSBPAN_LEFT)
        total = plat::DSBPAN_LEFT;
    if (total > plat::DSBPAN_RIGHT)
        total = plat::DSBPAN_RIGHT;
    mSoundBuffer->SetPan(int32_t(total));
}

void DSoundInstance::AdjustPitch(double numSteps)
{
    if (!mSoundBuffer)
        return;
    double frequency = mDefaultFrequency * std::pow(1.0594630943592953, numSteps);
    if (frequency < plat::DSBFREQUENCY_MIN)
        frequency = plat::DSBFREQUENCY_MIN;
    if (frequency > plat::DSBFREQUENCY_MAX)
        frequency = plat::DSBFREQUENCY_MAX;
    mSoundBuffer->SetFrequency(uint32_t(frequency));
}

bool DSoundInstance::Play(bool looping, bool autoRelease)
{
    Stop();
    mHasPlayed = true;
    mAutoRelease = autoRelease;
    if (!mSoundBuffer)
        return false;
    return !plat::Failed(mSoundBuffer->Play(looping ? uint32_t(plat::DSBPLAY_LOOPING) : 0u));
}

void DSoundInstance::Stop()
{
    if (mSoundBuffer) {
        mSoundBuffer->Stop();
        mSoundBuffer->SetCurrentPosition(0);
    }
    mAutoRelease = false;
}

bool DSoundInstance::IsPlaying()
{
    if (!mHasPlayed || !mSoundBuffer)
        return false;
    uint32_t status = 0;
    if (plat::Failed(mSoundBuffer->GetStatus(&status)))
        return false;
    return (status & plat::DSBSTATUS_PLAYING) != 0;
}

bool DSoundInstance::IsReleased()
{
    if (!mReleased && mAutoRelease && mHasPlayed && !IsPlaying())
        Release();
    return mReleased;
}

double DSoundInstance::GetVolume() { return mVolume; }

} // namespace Zelk
