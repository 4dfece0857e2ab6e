#include "platform/clock/NullClock.h"
#include "platform/clock/MonotonicClock.h"
#include "platform/loop/BackgroundTask.h"
#include "platform/loop/EventLoop.h"
#include "platform/loop/NullEventLoop.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

struct Loop {
    plat::NullClock clock{0};
    plat::NullEventLoop loop{clock};
    std::string trace;
    // Runs the loop until the simulated time reaches the limit.
    void RunTo(uint32_t ms)
    {
        auto guard = loop.AddTimer([] {});
        loop.SetTimerInterval(guard, ms - clock.NowMs());
        loop.SetTimerEnabled(guard, true);
        loop.RunUntil([&] { return clock.NowMs() >= ms; });
        loop.ProcessPending(); // what is due at the limit itself
        loop.SetTimerEnabled(guard, false);
    }
    void At(const char* tag)
    {
        trace += std::string(tag) + "@" + std::to_string(clock.NowMs()) + " ";
    }
};

} // namespace

TEST(EventLoop, TimersFollowTheWindowTimerRules)
{
    struct Case {
        const char* name;
        std::function<void(Loop&, plat::EventLoop::TimerId)> script;
        const char* trace;
    } cases[] = {
        {"periodic", [](Loop& l, int t) { l.loop.SetTimerEnabled(t, true); }, "t@100 t@200 t@300 "},
        {"same interval while enabled changes nothing",
         [](Loop& l, int t) {
             l.loop.SetTimerEnabled(t, true);
             l.clock.Advance(50);
             l.loop.SetTimerInterval(t, 100);
             l.loop.SetTimerEnabled(t, true);
         },
         "t@100 t@200 t@300 "},
        {"a new interval restarts the period",
         [](Loop& l, int t) {
             l.loop.SetTimerEnabled(t, true);
             l.clock.Advance(50);
             l.loop.SetTimerInterval(t, 120);
         },
         "t@170 t@290 "},
        {"disable and enable restarts", [](Loop& l, int t) {
             l.loop.SetTimerEnabled(t, true);
             l.clock.Advance(90);
             l.loop.SetTimerEnabled(t, false);
             l.loop.SetTimerEnabled(t, true);
         },
         "t@190 t@290 "},
        {"interval 0 never fires", [](Loop& l, int t) {
             l.loop.SetTimerInterval(t, 0);
             l.loop.SetTimerEnabled(t, true);
         },
         ""},
        {"disabled never fires", [](Loop&, int) {}, ""},
    };
    for (const Case& c : cases) {
        Loop l;
        auto t = l.loop.AddTimer([&] { l.At("t"); });
        l.loop.SetTimerInterval(t, 100);
        c.script(l, t);
        l.RunTo(300);
        EXPECT_EQ(l.trace, c.trace) << c.name;
    }
}

TEST(EventLoop, QueuedEventsComeBeforeADueTimerWhichIsPendingOnce)
{
    Loop l;
    auto t = l.loop.AddTimer([&] {
        l.At("timer");
        // A nested pass does not deliver the same timer again before its
        // next period is due.
        l.clock.Advance(50);
        l.loop.ProcessPending();
    });
    l.loop.SetTimerInterval(t, 100);
    l.loop.SetTimerEnabled(t, true);
    l.clock.Advance(350); // three periods overdue: still one delivery
    l.loop.Post([&] { l.At("first"); });
    l.loop.Post([&] { l.At("second"); });
    l.loop.ProcessPending();
    EXPECT_EQ(l.trace, "first@350 second@350 timer@350 ");
    l.clock.Advance(40);
    l.loop.ProcessPending();
    EXPECT_EQ(l.trace, "first@350 second@350 timer@350 ") << "due again 100 ms after it fired";
    l.clock.Advance(10);
    l.loop.ProcessPending();
    EXPECT_EQ(l.trace, "first@350 second@350 timer@350 timer@450 ");
}

TEST(EventLoop, NestedPassesRunLaterEventsAndTerminateStopsEverything)
{
    Loop l;
    l.loop.Post([&] {
        l.At("outer");
        l.loop.ProcessPending(); // runs "inner" from inside
        l.At("outer-after");
    });
    l.loop.Post([&] {
        l.At("inner");
        l.loop.Terminate();
    });
    l.loop.Post([&] { l.At("never"); });
    l.loop.ProcessPending();
    EXPECT_EQ(l.trace, "outer@0 inner@0 outer-after@0 ");
    EXPECT_TRUE(l.loop.Terminated());
    l.loop.Run(); // returns at once
}

TEST(EventLoop, TheClockWrapsWithoutLosingTime)
{
    plat::NullClock clock(0xFFFFFF00u);
    plat::NullEventLoop loop(clock);
    int fired = 0;
    auto t = loop.AddTimer([&] { ++fired; });
    loop.SetTimerInterval(t, 0x200);
    loop.SetTimerEnabled(t, true);
    loop.RunUntil([&] { return fired == 1; });
    EXPECT_EQ(clock.NowMs(), 0x100u);
}

TEST(EventLoop, IdleRealLoopWakesForAnotherThreadsPost)
{
    plat::MonotonicClock clock;
    plat::EventLoop loop(clock);
    std::atomic<bool> done{false};
    std::thread poster([&] { loop.Post([&] { done = true; }); });
    loop.RunUntil([&] { return done.load(); });
    poster.join();
    EXPECT_TRUE(done);
}

TEST(BackgroundTask, FinishesOnTheLoopThreadOrIsCancelledAndJoined)
{
    plat::MonotonicClock clock;
    plat::EventLoop loop(clock);
    std::thread::id finishedOn;
    bool finished = false;
    {
        plat::BackgroundTask task(loop, [](const plat::Canceller&) {},
                                  [&] {
                                      finished = true;
                                      finishedOn = std::this_thread::get_id();
                                  });
        loop.RunUntil([&] { return finished; });
    }
    EXPECT_EQ(finishedOn, std::this_thread::get_id());

    // A worker blocked on its cancel descriptor: cancelling wakes and joins
    // it, and its outcome never arrives.
    std::atomic<bool> workerSawCancel{false};
    bool late = false;
    {
        plat::BackgroundTask task(loop,
                                  [&](const plat::Canceller& c) {
                                      while (!c.Cancelled())
                                          std::this_thread::yield();
                                      workerSawCancel = true;
                                  },
                                  [&] { late = true; });
        task.Cancel();
    }
    loop.ProcessPending();
    EXPECT_TRUE(workerSawCancel);
    EXPECT_FALSE(late);
}
