#include "framework/app/Profiler.h"
#include "framework/app/StringUtil.h"
#include "platform/perf/PerfCounter.h"

#include <cstdint>

namespace Zelk {

Profiler& Profiler::Get()
{
    static Profiler profiler;
    return profiler;
}

void Profiler::Start(bool keepStopped)
{
    mRecords.clear();
    mSamples.clear();
    mOverhead = 0;
    if (!keepStopped)
        mRunning = true;
    mStartStamp = plat::ReadTimeStampCounter();
}

void Profiler::AddSample(const char* name, bool begin)
{
    if (mRunning)
        mSamples.push_back({name, plat::ReadTimeStampCounter(), begin});
}

void Profiler::Stop()
{
    uint64_t end = plat::ReadTimeStampCounter();
    FlushSamples();
    mRunning = false;

    if (mCpuSpeed <= 0)
        mCpuSpeed = MeasureCpuSpeed();
    if (mCpuSpeed <= 0)
        mCpuSpeed = 1;
    uint64_t speed = uint64_t(mCpuSpeed);

    uint64_t elapsed = end - mStartStamp;
    elapsed = elapsed > mOverhead ? elapsed - mOverhead : 0;
    mTotalTime = plat::CountsToMs(elapsed, speed);
    for (auto& [name, r] : mRecords) {
        r.time = plat::CountsToMs(r.totalTicks, speed);
        r.longest = r.longest * 1000.0 / double(speed);
    }
}

void Profiler::FlushSamples()
{
    uint64_t t0 = plat::ReadTimeStampCounter();
    for (const Sample& s : mSamples)
        ApplySample(s);
    mSamples.clear();
    mOverhead += plat::ReadTimeStampCounter() - t0;
}

void Profiler::ApplySample(const Sample& s)
{
    if (s.begin) {
        Record& r = mRecords[s.name];
        ++r.calls;
        if (++r.depth == 1)
            r.startStamp = s.stamp;
        return;
    }
    auto it = mRecords.find(s.name);
    if (it == mRecords.end())
        return;
    Record& r = it->second;
    if (r.depth-- == 1) {
        uint64_t d = s.stamp - r.startStamp;
        r.totalTicks += d;
        if (double(d) > r.longest)
            r.longest = double(d);
    }
}

int64_t Profiler::MeasureCpuSpeed()
{
    // Raising the thread's priority for the measurement needs privileges here,
    // so it runs at the thread's own priority.
    int64_t frequency = plat::QueryPerformanceFrequency();
    if (frequency <= 0)
        return 0;
    int64_t target = plat::QueryPerformanceCounter() + frequency / 100;
    uint64_t t0 = plat::ReadTimeStampCounter();
    while (plat::QueryPerformanceCounter() < target) {
    }
    uint64_t ticks = plat::ReadTimeStampCounter() - t0;
    if (ticks > uint64_t(INT64_MAX / 100))
        return INT64_MAX;
    return int64_t(ticks) * 100;
}

std::string Profiler::GetReport() const
{
    std::string report = StrFormat("Total Time: %.2f\n", mTotalTime);
    for (const auto& [name, r] : mRecords) {
        double share = mTotalTime > 0.0 ? r.time / mTotalTime * 100.0 : 0.0;
        double average = r.calls > 0 ? r.time / r.calls : 0.0;
        report += StrFormat("%s (%d calls, %%%.2f time): %.2f (%.2f avg, %.2f longest)\n", name.c_str(),
                            r.calls, share, r.time, average, r.longest);
    }
    return report;
}

} // namespace Zelk
