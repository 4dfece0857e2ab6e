#pragma once
#include <cstdint>

namespace plat {

// The high-resolution counter (what the system calls the performance counter)
// and the processor's time-stamp counter.
//
// The performance counter runs at a fixed logical frequency of 10 MHz, read
// from CLOCK_MONOTONIC, so that durations in milliseconds never need a large
// multiplication. The time-stamp counter is the processor's own (rdtsc) where
// there is one, else nanoseconds of the monotonic clock.
int64_t QueryPerformanceCounter();
// Counts per second of QueryPerformanceCounter; 0 when there is no counter.
int64_t QueryPerformanceFrequency();
uint64_t ReadTimeStampCounter();

// Test seam: a member left null keeps the real source.
struct PerfCounterHooks {
    int64_t (*counter)() = nullptr;
    int64_t (*frequency)() = nullptr;
    uint64_t (*timeStamp)() = nullptr;
};
void SetPerfCounterHooks(const PerfCounterHooks& hooks);

// Milliseconds in `counts` ticks of a counter running at `frequency` ticks per
// second, exact for every 64-bit count (no intermediate product overflows).
// 0 when the frequency is 0.
double CountsToMs(uint64_t counts, uint64_t frequency);

} // namespace plat
