#include "platform/debug/DebugSink.h"
#include "platform/Platform.h"

#include <cstdio>

namespace plat {

void DebugSink::Write(const std::string& text)
{
    std::lock_guard<std::mutex> g(mLock);
    if (mCapturing) {
        mCaptured += text;
        return;
    }
    fwrite(text.data(), 1, text.size(), stderr);
}

void DebugSink::StartCapture()
{
    std::lock_guard<std::mutex> g(mLock);
    mCapturing = true;
    mCaptured.clear();
}

std::string DebugSink::StopCapture()
{
    std::lock_guard<std::mutex> g(mLock);
    mCapturing = false;
    return std::move(mCaptured);
}

std::string DebugSink::Captured()
{
    std::lock_guard<std::mutex> g(mLock);
    return mCaptured;
}

void OutputDebugString(const std::string& text)
{
    if (DebugSink* s = Get().debug)
        s->Write(text);
    else
        fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace plat
