#include "platform/soundlib/NullSoundLibrary.h"
#include "platform/clock/NullClock.h"

#include <cstdint>

namespace plat {

void NullSoundLibrary::Advance(uint32_t ms)
{
    if (!mDecodingHeld)
        DecodeBlocks(SIZE_MAX);
    uint32_t end = mClock.NowMs() + ms;
    for (;;) {
        int channel;
        uint32_t due;
        {
            Hold hold(*this);
            uint32_t now = mClock.NowMs();
            if (!NextWorkerDue(now, channel, due) || int32_t(due - end) > 0)
                break;
            if (int32_t(due - now) > 0)
                mClock.Set(due);
            RunDueWorkers(mClock.NowMs());
        }
    }
    mClock.Set(end);
    RunDueWorkers(end); // brings the mix up to the end
}

std::vector<std::string> NullSoundLibrary::Calls()
{
    Hold hold(*this);
    return mCalls;
}

std::vector<std::string> NullSoundLibrary::TakeCalls()
{
    Hold hold(*this);
    std::vector<std::string> out;
    out.swap(mCalls);
    return out;
}

void NullSoundLibrary::FailInit(bool fail)
{
    Hold hold(*this);
    mFailInit = fail;
}

void NullSoundLibrary::FailLoad(const std::string& path)
{
    Hold hold(*this);
    mFailLoads.insert(path);
}

} // namespace plat
