#include "platform/audio/NullAudioOutput.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"

#include <algorithm>

namespace plat {

bool NullAudioOutput::StartDevice()
{
    std::lock_guard<std::mutex> g(mLock);
    if (!mAvailable)
        return false;
    mClock = Get().clock;
    mLastMs = mClock ? mClock->NowMs() : 0;
    mElapsedMs = 0;
    mFramesDone = 0;
    mRunning = true;
    return true;
}

void NullAudioOutput::StopDevice()
{
    std::lock_guard<std::mutex> g(mLock);
    SyncLocked();
    mRunning = false;
}

void NullAudioOutput::Sync()
{
    std::lock_guard<std::mutex> g(mLock);
    SyncLocked();
}

void NullAudioOutput::SyncLocked()
{
    if (!mRunning || !mClock)
        return;
    uint32_t now = mClock->NowMs();
    mElapsedMs += uint32_t(now - mLastMs);
    mLastMs = now;
    uint64_t due = mElapsedMs * Mixer::kOutputRate / 1000;
    if (due <= mFramesDone)
        return;
    uint64_t owed = due - mFramesDone;
    mFramesDone = due;
    if (!mCapturing && mMixer.SkipIfSilent(owed))
        return;
    const size_t chunk = 4096;
    std::vector<int16_t> buf(chunk * 2);
    while (owed > 0) {
        size_t n = size_t(std::min<uint64_t>(owed, chunk));
        mMixer.Mix(buf.data(), n);
        if (mCapturing)
            mCaptured.insert(mCaptured.end(), buf.begin(), buf.begin() + n * 2);
        owed -= n;
        if (!mCapturing && mMixer.SkipIfSilent(owed))
            break;
    }
}

void NullAudioOutput::StartCapture()
{
    std::lock_guard<std::mutex> g(mLock);
    SyncLocked();
    mCapturing = true;
    mCaptured.clear();
}

std::vector<int16_t> NullAudioOutput::TakeCaptured()
{
    std::lock_guard<std::mutex> g(mLock);
    SyncLocked();
    std::vector<int16_t> out;
    out.swap(mCaptured);
    return out;
}

} // namespace plat
