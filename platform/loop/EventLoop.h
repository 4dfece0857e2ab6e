#pragma once
#include "platform/clock/Clock.h"
#include "platform/loop/WakePipe.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace plat {

// A program's own event loop on its GUI thread: closures posted from any
// thread, window timers, and sources polled on every pass (window messages).
// Handlers may run the loop again from inside (ProcessPending), so every
// operation is re-entrant on the loop's thread. Time is the clock's
// milliseconds; an idle loop sleeps until the next deadline or a wake-up.
class EventLoop {
public:
    using TimerId = int;

    explicit EventLoop(Clock& clock);
    virtual ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Queues a closure for the loop's thread; any thread may post.
    void Post(std::function<void()> work);
    // Called at the start of every pass (on the loop's thread), to move
    // outside events (window messages) into the queue.
    void AddSource(std::function<void()> poll);

    // Runs until Terminate.
    void Run();
    // Asks the loop to end: from then on nothing more is dispatched. Any
    // thread may terminate (a signal handler may not: see WakeFromSignal).
    void Terminate();
    bool Terminated() const { return mTerminated.load(); }

    // Handles every queued closure and every due timer, without blocking.
    void ProcessPending();
    // Runs the loop (sleeping when idle) until done() answers true or the
    // loop is terminated.
    void RunUntil(const std::function<bool()>& done);

    // Window timers: periodic while enabled, the interval in milliseconds.
    // Setting the value or state a timer already has changes nothing; a
    // change while enabled restarts the period from now; an interval of 0
    // never fires. A due timer is handled after the queued closures and is
    // pending at most once.
    TimerId AddTimer(std::function<void()> handler);
    void SetTimerInterval(TimerId id, uint32_t ms);
    void SetTimerEnabled(TimerId id, bool enabled);
    uint32_t TimerInterval(TimerId id) const;
    bool TimerEnabled(TimerId id) const;

    // The clock's time, widened to 64 bits across its wrap-around.
    uint64_t Now();
    // Wakes a sleeping loop; async-signal-safe.
    void Wake();

protected:
    // Sleeps up to ms milliseconds (-1: until woken) or until woken.
    virtual void Idle(int64_t ms);
    // The descriptor a wake-up makes readable.
    int WakeFd() const { return mWake.Fd(); }
    void DrainWake() { mWake.Drain(); }
    Clock& mClock;

private:
    struct Timer {
        std::function<void()> handler;
        uint32_t interval = 1000;
        bool enabled = false;
        uint64_t due = 0;
    };
    void Restart(Timer& t);
    // The earliest deadline of an enabled timer, or -1.
    int64_t NextDeadline();
    bool PopPosted(std::function<void()>& out);
    // Polls the sources and runs queued closures until none is left.
    void DispatchQueued();

    std::mutex mLock;
    std::deque<std::function<void()>> mPosted;
    std::vector<std::function<void()>> mSources;
    std::vector<Timer> mTimers;
    std::atomic<bool> mTerminated{false};
    uint32_t mLastClock = 0;
    uint64_t mHigh = 0;
    bool mClockSeen = false;
    WakePipe mWake;
};

} // namespace plat
