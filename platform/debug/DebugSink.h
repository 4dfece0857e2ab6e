#pragma once
#include <mutex>
#include <string>

namespace plat {

// Where developer messages go (the debugger output of the system): standard
// error by default; a test can capture them instead.
class DebugSink {
public:
    void Write(const std::string& text);
    void StartCapture();
    std::string StopCapture();
    std::string Captured();

private:
    std::mutex mLock;
    bool mCapturing = false;
    std::string mCaptured;
};

void OutputDebugString(const std::string& text);

} // namespace plat
