#include "platform/clock/MonotonicClock.h"
#include <cerrno>
#include <ctime>

namespace plat {

uint32_t MonotonicClock::NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return uint32_t(ms);
}

void MonotonicClock::SleepMs(uint32_t ms)
{
    timespec req{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (nanosleep(&req, &req) != 0 && errno == EINTR) {
    }
}

} // namespace plat
