#pragma once
#include "framework/sound/SoundInstance.h"

#include <cstdint>

namespace plat {
class SoundBuffer;
}

namespace Zelk {

class DSoundManager;

// A playing copy of one of the manager's sounds: a duplicate of its buffer
// (sharing the samples) with its own volume, pan, pitch and position. An
// instance made without a sound device has no buffer and stays silent.
class DSoundInstance : public SoundInstance {
public:
    DSoundInstance(DSoundManager* manager, plat::SoundBuffer* sourceSound);
    ~DSoundInstance() override;

    void Release() override;
    void SetBaseVolume(double baseVolume) override;
    void SetBasePan(int basePan) override;
    void AdjustPitch(double numSteps) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override;

    // True when the source had a buffer that could not be duplicated.
    bool DuplicateFailed() const { return mDuplicateFailed; }
    plat::SoundBuffer* GetBuffer() const { return mSoundBuffer; }

    // The buffer attenuation, in hundredths of a decibel, for a volume 0..1.
    static int32_t VolumeToAttenuation(double volume);

protected:
    friend class DSoundManager;
    void RehupVolume();

    DSoundManager* mManager;
    plat::SoundBuffer* mSourceSound;
    plat::SoundBuffer* mSoundBuffer = nullptr;
    bool mAutoRelease = false;
    bool mHasPlayed = false;
    bool mReleased = false;
    int mBasePan = 0;
    double mBaseVolume = 1.0;
    int mPan = 0;
    double mVolume = 1.0;
    uint32_t mDefaultFrequency = 44100;
    bool mDuplicateFailed = false;
};

} // namespace Zelk
