#pragma once
#include <cstdint>

namespace plat {

// Millisecond time as the system keeps it: a 32-bit counter that wraps around
// (timeGetTime and GetTickCount read the same counter), and a sleep. Under test
// the null clock runs in simulated time: sleeping advances it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

// Shorthands over the installed clock.
uint32_t TimeGetTime();
uint32_t GetTickCount();
void Sleep(uint32_t ms);

} // namespace plat
