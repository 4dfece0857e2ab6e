#include "platform/audio/AudioOutput.h"

namespace plat {

bool AudioOutput::Open()
{
    std::lock_guard<std::mutex> g(mOpenLock);
    if (mUsers == 0 && !StartDevice())
        return false;
    ++mUsers;
    return true;
}

void AudioOutput::Close()
{
    std::lock_guard<std::mutex> g(mOpenLock);
    if (mUsers == 0)
        return;
    if (--mUsers == 0)
        StopDevice();
}

bool AudioOutput::IsOpen()
{
    std::lock_guard<std::mutex> g(mOpenLock);
    return mUsers > 0;
}

} // namespace plat
