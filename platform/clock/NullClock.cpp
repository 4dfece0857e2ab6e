#include "platform/clock/NullClock.h"
#include <chrono>

namespace plat {

NullClock::NullClock(uint32_t start) : mNow(start), mDriver(std::this_thread::get_id()) {}

void NullClock::SleepMs(uint32_t ms)
{
    if (std::this_thread::get_id() != mDriver.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms ? 1 : 0));
        return;
    }
    mNow.fetch_add(ms);
    mSlept.fetch_add(ms);
    mSleeps.fetch_add(1);
    if (onSleep)
        onSleep(ms);
}

} // namespace plat
