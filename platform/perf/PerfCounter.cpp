#include "platform/perf/PerfCounter.h"

#include <time.h>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace plat {

namespace {
constexpr int64_t kFrequency = 10000000; // 10 MHz: one count is 100 ns

PerfCounterHooks gHooks;

int64_t MonotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
} // namespace

int64_t QueryPerformanceCounter()
{
    if (gHooks.counter)
        return gHooks.counter();
    return MonotonicNs() / (1000000000 / kFrequency);
}

int64_t QueryPerformanceFrequency()
{
    if (gHooks.frequency)
        return gHooks.frequency();
    return kFrequency;
}

uint64_t ReadTimeStampCounter()
{
    if (gHooks.timeStamp)
        return gHooks.timeStamp();
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return uint64_t(MonotonicNs());
#endif
}

void SetPerfCounterHooks(const PerfCounterHooks& hooks) { gHooks = hooks; }

double CountsToMs(uint64_t counts, uint64_t frequency)
{
    if (frequency == 0)
        return 0.0;
    // Whole seconds and the remainder separately: the remainder is below the
    // frequency, so remainder x 1000 cannot overflow for any frequency below 2^54.
    uint64_t seconds = counts / frequency;
    uint64_t rest = counts % frequency;
    double restMs = frequency < (uint64_t(1) << 54) ? double(rest * 1000) / double(frequency)
                                                    : double(rest) * 1000.0 / double(frequency);
    return double(seconds) * 1000.0 + restMs;
}

} // namespace plat
