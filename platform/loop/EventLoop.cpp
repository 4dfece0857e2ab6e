#include "platform/loop/EventLoop.h"

#include <poll.h>
#include <unistd.h>

namespace plat {

EventLoop::EventLoop(Clock& clock) : mClock(clock) {}

EventLoop::~EventLoop() = default;

void EventLoop::Post(std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> g(mLock);
        mPosted.push_back(std::move(work));
    }
    Wake();
}

void EventLoop::AddSource(std::function<void()> poll)
{
    mSources.push_back(std::move(poll));
}

void EventLoop::Wake() { mWake.Wake(); }

void EventLoop::Terminate()
{
    mTerminated = true;
    Wake();
}

uint64_t EventLoop::Now()
{
    const uint32_t now = mClock.NowMs();
    if (!mClockSeen) {
        mClockSeen = true;
        mLastClock = now;
        mHigh = uint64_t(1) << 32; // room below the first reading
    }
    mHigh += uint32_t(now - mLastClock);
    mLastClock = now;
    return mHigh;
}

bool EventLoop::PopPosted(std::function<void()>& out)
{
    std::lock_guard<std::mutex> g(mLock);
    if (mPosted.empty())
        return false;
    out = std::move(mPosted.front());
    mPosted.pop_front();
    return true;
}

void EventLoop::DispatchQueued()
{
    std::function<void()> work;
    for (;;) {
        for (size_t i = 0; i < mSources.size() && !mTerminated; ++i)
            mSources[i]();
        if (mTerminated || !PopPosted(work))
            return;
        work();
        work = nullptr;
    }
}

void EventLoop::ProcessPending()
{
    if (mTerminated)
        return;
    DrainWake();
    // Queued events first, every one (also those queued meanwhile).
    DispatchQueued();
    // Then the timers due now. A timer's next period starts before its
    // handler runs, so a nested pass cannot deliver it a second time.
    const uint64_t now = Now();
    for (size_t i = 0; i < mTimers.size() && !mTerminated; ++i) {
        Timer& t = mTimers[i];
        if (!t.enabled || t.interval == 0 || t.due > now)
            continue;
        t.due = now + t.interval;
        std::function<void()> handler = t.handler; // the list may grow meanwhile
        handler();
        // Events queued by the handler come before the next timer.
        DispatchQueued();
    }
}

int64_t EventLoop::NextDeadline()
{
    int64_t best = -1;
    for (const Timer& t : mTimers)
        if (t.enabled && t.interval != 0 && (best < 0 || int64_t(t.due) < best))
            best = int64_t(t.due);
    return best;
}

void EventLoop::RunUntil(const std::function<bool()>& done)
{
    while (!mTerminated && !done()) {
        ProcessPending();
        if (mTerminated || done())
            break;
        {
            std::lock_guard<std::mutex> g(mLock);
            if (!mPosted.empty())
                continue;
        }
        const int64_t deadline = NextDeadline();
        const int64_t now = int64_t(Now());
        Idle(deadline < 0 ? -1 : (deadline > now ? deadline - now : 0));
    }
}

void EventLoop::Run()
{
    RunUntil([] { return false; });
}

void EventLoop::Idle(int64_t ms)
{
    if (ms == 0)
        return;
    pollfd p{mWake.Fd(), POLLIN, 0};
    const int timeout = ms < 0 || ms > 0x7FFFFFFF ? (ms < 0 ? -1 : 0x7FFFFFFF) : int(ms);
    (void)poll(&p, 1, timeout); // a signal (EINTR) just goes round the loop
}

EventLoop::TimerId EventLoop::AddTimer(std::function<void()> handler)
{
    Timer t;
    t.handler = std::move(handler);
    mTimers.push_back(std::move(t));
    return TimerId(mTimers.size() - 1);
}

void EventLoop::Restart(Timer& t)
{
    t.due = Now() + t.interval;
}

void EventLoop::SetTimerInterval(TimerId id, uint32_t ms)
{
    Timer& t = mTimers.at(size_t(id));
    if (t.interval == ms)
        return;
    t.interval = ms;
    if (t.enabled)
        Restart(t);
}

void EventLoop::SetTimerEnabled(TimerId id, bool enabled)
{
    Timer& t = mTimers.at(size_t(id));
    if (t.enabled == enabled)
        return;
    t.enabled = enabled;
    if (enabled)
        Restart(t);
}

uint32_t EventLoop::TimerInterval(TimerId id) const
{
    return mTimers.at(size_t(id)).interval;
}

bool EventLoop::TimerEnabled(TimerId id) const
{
    return mTimers.at(size_t(id)).enabled;
}

} // namespace plat
