#pragma once
#include "platform/audio/AudioOutput.h"

#include <vector>

namespace plat {

class Clock;

// The audio device of the null platform. Nothing is played: the mixer runs
// exactly as far as the installed clock has advanced since the device was
// opened (44.1 frames per millisecond), whenever the sound code syncs with it.
// A test can keep what was mixed, or report the device absent.
class NullAudioOutput : public AudioOutput {
public:
    void Sync() override;
    // Keep every frame mixed from now on (interleaved left, right).
    void StartCapture();
    std::vector<int16_t> TakeCaptured();
    void SetAvailable(bool available) { mAvailable = available; }

protected:
    bool StartDevice() override;
    void StopDevice() override;

private:
    void SyncLocked();
    std::mutex mLock;
    bool mAvailable = true;
    bool mRunning = false;
    bool mCapturing = false;
    Clock* mClock = nullptr;
    uint32_t mLastMs = 0;
    uint64_t mElapsedMs = 0;
    uint64_t mFramesDone = 0;
    std::vector<int16_t> mCaptured;
};

} // namespace plat
