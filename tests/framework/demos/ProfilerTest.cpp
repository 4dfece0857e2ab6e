#include "framework/app/PerfTimer.h"
#include "framework/app/Profiler.h"
#include "platform/perf/PerfCounter.h"

#include <gtest/gtest.h>

using namespace Zelk;

namespace {

// Counters the test moves by hand.
int64_t gCounter = 0;
int64_t gFrequency = 10000000;
uint64_t gStamp = 0;
uint64_t gStampStep = 0; // added after every read of the time-stamp counter
int64_t gCounterStep = 0; // added after every read of the performance counter
uint64_t gStampPerCount = 0; // when set, the time-stamp counter follows the performance counter

class FakeCounters : public ::testing::Test {
protected:
    void SetUp() override
    {
        gCounter = 0;
        gFrequency = 10000000;
        gStamp = 0;
        gStampStep = 0;
        gCounterStep = 0;
        gStampPerCount = 0;
        plat::PerfCounterHooks hooks;
        hooks.counter = [] {
            int64_t v = gCounter;
            gCounter += gCounterStep;
            return v;
        };
        hooks.frequency = [] { return gFrequency; };
        hooks.timeStamp = [] {
            if (gStampPerCount)
                return uint64_t(gCounter) * gStampPerCount;
            uint64_t v = gStamp;
            gStamp += gStampStep;
            return v;
        };
        plat::SetPerfCounterHooks(hooks);
    }
    void TearDown() override { plat::SetPerfCounterHooks({}); }
};

} // namespace

TEST_F(FakeCounters, PerfTimerReportsTheTimeSoFarWhileRunning)
{
    PerfTimer t;
    EXPECT_EQ(t.GetDuration(), 0.0);
    gCounter = 1000;
    t.Start();
    gCounter += 25000; // 2.5 ms at 10 MHz
    EXPECT_DOUBLE_EQ(t.GetDuration(), 2.5);
    gCounter += 25000;
    EXPECT_DOUBLE_EQ(t.GetDuration(), 5.0); // still running
    t.Stop();
    gCounter += 25000;
    EXPECT_DOUBLE_EQ(t.GetDuration(), 5.0);
    t.Stop(); // stopping again keeps the duration
    EXPECT_DOUBLE_EQ(t.GetDuration(), 5.0);
}

TEST_F(FakeCounters, PerfTimerDoesNotOverflowOnLongRuns)
{
    // 200 days of a nanosecond counter: counts x 1000 is beyond 64 bits.
    gFrequency = 1000000000;
    PerfTimer t;
    t.Start();
    gCounter += int64_t(200) * 86400 * 1000000000 + 500000; // and half a millisecond
    t.Stop();
    EXPECT_DOUBLE_EQ(t.GetDuration(), 200.0 * 86400 * 1000 + 0.5);
}

TEST_F(FakeCounters, EmptyProfileReportsTheTotalWithoutItsOwnOverhead)
{
    Profiler p;
    p.SetCpuSpeed(1000000); // one tick per microsecond
    gStampStep = 100;       // every read of the stamp costs 100 ticks
    p.Start();
    EXPECT_TRUE(p.IsRunning());
    gStamp += 5000;
    p.Stop();
    EXPECT_FALSE(p.IsRunning());
    // 5100 ticks from start to end, less the 100 ticks of the flush.
    EXPECT_EQ(p.GetReport(), "Total Time: 5.00\n");
}

TEST_F(FakeCounters, NestedSectionsCountEveryCallAndTheOuterDuration)
{
    Profiler p;
    p.SetCpuSpeed(1000); // one tick per millisecond
    p.Start();
    auto at = [](uint64_t stamp) { gStamp = stamp; };
    at(10), p.BeginSection("Update");
    at(20), p.BeginSection("Update");
    at(30), p.EndSection("Update");
    at(35), p.EndSection("Never"); // an end without a begin changes nothing
    at(50), p.EndSection("Update");
    at(60), p.BeginSection("Draw");
    at(70), p.EndSection("Draw");
    at(100);
    p.Stop();

    ASSERT_EQ(p.GetRecords().size(), 2u);
    const Profiler::Record& u = p.GetRecords().at("Update");
    EXPECT_EQ(u.calls, 2);
    EXPECT_EQ(u.depth, 0);
    EXPECT_EQ(u.totalTicks, 40u);
    EXPECT_EQ(p.GetReport(), "Total Time: 100.00\n"
                             "Draw (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
                             "Update (2 calls, %40.00 time): 40.00 (20.00 avg, 40.00 longest)\n");

    // A new profile forgets the records.
    p.Start();
    p.Stop();
    EXPECT_TRUE(p.GetRecords().empty());
}

TEST_F(FakeCounters, ZeroTotalPrintsZeroPercent)
{
    Profiler p;
    p.SetCpuSpeed(1000);
    gStamp = 500;
    p.Start();
    p.BeginSection("Frame");
    p.EndSection("Frame");
    p.Stop();
    EXPECT_EQ(p.GetReport(), "Total Time: 0.00\nFrame (1 calls, %0.00 time): 0.00 (0.00 avg, 0.00 longest)\n");
}

TEST_F(FakeCounters, SamplesOutsideAProfileAreNotKept)
{
    Profiler p;
    p.SetCpuSpeed(1000);
    p.Start(true); // cleared but kept stopped
    EXPECT_FALSE(p.IsRunning());
    p.BeginSection("Idle");
    p.EndSection("Idle");
    p.Stop();
    EXPECT_TRUE(p.GetRecords().empty());
}

TEST_F(FakeCounters, FirstStopMeasuresTheCpuSpeedOverTenMilliseconds)
{
    // The performance counter runs at 100 kHz and moves one count per read;
    // the time-stamp counter runs 3 ticks per count: 300000 ticks per second.
    gFrequency = 100000;
    gCounterStep = 1;
    gStampPerCount = 3;

    Profiler p;
    EXPECT_EQ(p.GetCpuSpeed(), 0);
    p.Start();
    p.Stop();
    EXPECT_NEAR(double(p.GetCpuSpeed()), 300000.0, 300.0);

    // Without a counter the speed cannot be measured; the report still divides safely.
    Profiler q;
    gFrequency = 0;
    q.Start();
    q.Stop();
    EXPECT_EQ(q.GetCpuSpeed(), 1);
}
