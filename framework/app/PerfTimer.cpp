#include "framework/app/PerfTimer.h"
#include "platform/perf/PerfCounter.h"

namespace Zelk {

void PerfTimer::Start()
{
    mStart = plat::QueryPerformanceCounter();
    mRunning = true;
}

void PerfTimer::Stop()
{
    if (mRunning) {
        CalcDuration();
        mRunning = false;
    }
}

double PerfTimer::GetDuration()
{
    if (mRunning)
        CalcDuration();
    return mDuration;
}

void PerfTimer::CalcDuration()
{
    int64_t elapsed = plat::QueryPerformanceCounter() - mStart;
    int64_t frequency = plat::QueryPerformanceFrequency();
    if (elapsed < 0 || frequency <= 0) {
        mDuration = 0.0;
        return;
    }
    mDuration = plat::CountsToMs(uint64_t(elapsed), uint64_t(frequency));
}

} // namespace Zelk
