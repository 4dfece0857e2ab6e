#pragma once
#include "platform/clock/Clock.h"
#include <atomic>
#include <functional>
#include <thread>

namespace plat {

// Simulated time for tests. Sleeping on the driving thread (the thread that
// made the clock, or the one named by SetDrivingThread) advances the clock by
// the time slept and returns at once. Other threads (cursor, loading) do not
// move simulated time: their sleeps yield briefly in real time, so a test's
// outcome depends only on what the driving thread does.
class NullClock : public Clock {
public:
    explicit NullClock(uint32_t start = 0);
    uint32_t NowMs() override { return mNow.load(); }
    void SleepMs(uint32_t ms) override;
    void Advance(uint32_t ms) { mNow.fetch_add(ms); }
    void Set(uint32_t ms) { mNow.store(ms); }
    void SetDrivingThread(std::thread::id id) { mDriver = id; }
    uint64_t TotalSleptMs() const { return mSlept.load(); }
    uint64_t SleepCalls() const { return mSleeps.load(); }
    // Called after every simulated sleep with the time slept.
    std::function<void(uint32_t)> onSleep;

private:
    std::atomic<uint32_t> mNow;
    std::atomic<uint64_t> mSlept{0};
    std::atomic<uint64_t> mSleeps{0};
    std::atomic<std::thread::id> mDriver;
};

} // namespace plat
