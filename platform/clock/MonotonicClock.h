#pragma once
#include "platform/clock/Clock.h"

namespace plat {

// CLOCK_MONOTONIC in milliseconds, truncated to 32 bits; nanosleep. It needs
// no desktop, so programs on the null platform may run in real time too.
class MonotonicClock : public Clock {
public:
    uint32_t NowMs() override;
    void SleepMs(uint32_t ms) override;
};

} // namespace plat
