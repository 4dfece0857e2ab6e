#pragma once
#include <cstdint>

namespace Zelk {

// A millisecond stopwatch over the high-resolution counter. Asked for its
// duration while running, it reports the time so far and keeps running.
class PerfTimer {
public:
    void Start();
    void Stop();
    double GetDuration();

protected:
    void CalcDuration();

    int64_t mStart = 0;
    double mDuration = 0.0;
    bool mRunning = false;
};

} // namespace Zelk
