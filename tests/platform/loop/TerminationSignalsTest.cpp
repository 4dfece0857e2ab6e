#include "platform/clock/MonotonicClock.h"
#include "platform/loop/EventLoop.h"
#include "platform/loop/TerminationSignals.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(TerminationSignals, ASignalWakesTheLoopAndIsSeen)
{
    plat::MonotonicClock clock;
    plat::EventLoop loop(clock);
    plat::TerminationSignals signals(loop);
    bool seen = false;
    loop.AddSource([&] { seen = seen || signals.Requested(); });
    raise(SIGTERM);
    loop.RunUntil([&] { return seen; });
    EXPECT_TRUE(seen);
}

// The first signal is a request the program answers by closing; a second one
// while it closes ends the process at once, by that signal.
TEST(TerminationSignals, EachIsARequestAndASecondEndsAtOnce)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                plat::TerminationSignals signals;
                raise(signal);
                if (!signals.Requested())
                    _exit(1);
                fprintf(stderr, "closing\n");
                raise(signal);
                _exit(2);
            },
            ::testing::KilledBySignal(signal), "closing")
            << strsignal(signal);
    }
}

// The launcher listens for itself inside a program whose platform listens
// too: while it lives the signals, and the program's own requests (its
// display went away), are its own.
TEST(TerminationSignals, TheNewestOwnerHasTheSignalsUntilItGoes)
{
    plat::TerminationSignals outer;
    {
        plat::TerminationSignals inner;
        raise(SIGHUP);
        EXPECT_TRUE(inner.Requested());
        EXPECT_FALSE(outer.Requested());
    }
    plat::TerminationSignals::Request();
    EXPECT_TRUE(outer.Requested());
}

// A request from the program wakes the loop as a signal does, and a signal
// after it ends the process; requests alone never do.
TEST(TerminationSignals, TheProgramsOwnRequestIsAFirstSignal)
{
    EXPECT_EXIT(
        {
            plat::MonotonicClock clock;
            plat::EventLoop loop(clock);
            plat::TerminationSignals signals(loop);
            loop.AddSource([&] {
                if (signals.Requested())
                    loop.Terminate();
            });
            plat::TerminationSignals::Request();
            plat::TerminationSignals::Request();
            loop.Run();
            fprintf(stderr, "still running\n");
            raise(SIGTERM);
            _exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "still running");
}
