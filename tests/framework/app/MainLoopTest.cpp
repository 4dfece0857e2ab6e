#include "AppFixture.h"
#include "framework/app/StringUtil.h"
#include "framework/graphics/DDImage.h"
#include "platform/clock/Clock.h"
#include "platform/window/InputTranslator.h"
#include "platform/window/WindowMessages.h"

#include <algorithm>
#include <cmath>
#include <thread>

using namespace Zelk;

namespace {

// Runs steps until the condition holds (or a step budget runs out).
template <typename Cond>
void StepUntil(ZelkAppBase& app, Cond cond, int budget = 100000)
{
    for (int i = 0; i < budget && !cond(); ++i)
        app.AppStep(nullptr);
}

// Longest run of updates between two Draw calls.
int LongestRun(const std::vector<int>& drawCalls)
{
    int longest = 0;
    for (size_t i = 1; i < drawCalls.size(); ++i)
        longest = std::max(longest, drawCalls[i] - drawCalls[i - 1]);
    return longest;
}

} // namespace

class MainLoop : public AppTest {
protected:
    void SetUp() override
    {
        platform.clock.Set(1000);
        app = std::make_unique<TestApp>();
        app->Init();
        app->mLoadingCompleteHandled = true; // loading is done unless a test says otherwise
        app->AdvanceClock();                // start the clock
    }
    std::unique_ptr<TestApp> app;
};

TEST_F(MainLoop, StallOwesExactlyTwentyUpdatesThenPacingResumes)
{
    // settle: run until the loop sleeps
    uint64_t sleeps = platform.clock.SleepCalls();
    StepUntil(*app, [&] { return platform.clock.SleepCalls() > sleeps; });

    platform.clock.Advance(5000);
    const int before = app->mUpdateCount;
    sleeps = platform.clock.SleepCalls();
    StepUntil(*app, [&] { return platform.clock.SleepCalls() > sleeps; });
    EXPECT_EQ(app->mUpdateCount - before, 20);

    // afterwards one update per 10 ms of sleeping
    const int mid = app->mUpdateCount;
    const uint32_t t0 = platform.clock.NowMs();
    StepUntil(*app, [&] { return platform.clock.NowMs() - t0 >= 1000; });
    EXPECT_NEAR(app->mUpdateCount - mid, 100, 1);
}

TEST_F(MainLoop, ForcedDrawAfterNineUpdatesAtNormalSpeed)
{
    platform.clock.Advance(190); // a backlog of 19 updates
    app->drawCalls.clear();
    StepUntil(*app, [&] { return app->mUpdateCount >= 19; });
    StepUntil(*app, [&] { return app->drawCalls.size() >= 3; });
    EXPECT_EQ(LongestRun(app->drawCalls), 9);
}

TEST_F(MainLoop, QuarterSpeedRunsOneUpdateBetweenDrawsAndTicksEvery40Ms)
{
    app->mUpdateMultiplier = 0.25;
    platform.clock.Advance(400);
    app->drawCalls.clear();
    const uint32_t t0 = platform.clock.NowMs();
    StepUntil(*app, [&] { return platform.clock.NowMs() - t0 >= 2000; });
    EXPECT_EQ(LongestRun(app->drawCalls), 1);
    // 2,000 ms at 40 ms per tick, plus the 200 ms backlog cap worth of ticks
    EXPECT_NEAR(app->mUpdateCount, 2200 / 40, 2);
}

TEST_F(MainLoop, BelowOneTenthSpeedEveryDecisionDraws)
{
    app->mUpdateMultiplier = 0.05;
    platform.clock.Advance(200);
    const int before = app->mUpdateCount;
    for (int i = 0; i < 200; ++i)
        app->AppStep(nullptr);
    EXPECT_EQ(app->mUpdateCount, before);
}

TEST_F(MainLoop, StoppedTimeStillHandlesMessagesDrawsAndSleeps)
{
    app->mUpdateMultiplier = 0.0;
    const int before = app->mUpdateCount;
    const uint64_t sleeps = platform.clock.SleepCalls();
    platform.windows.Queue().Post({plat::WM_TIMER, 0, 0});
    for (int i = 0; i < 50; ++i)
        app->AppStep(nullptr);
    EXPECT_EQ(app->mUpdateCount, before);       // time stands still
    EXPECT_GT(platform.clock.SleepCalls(), sleeps); // but the loop sleeps instead of spinning
    EXPECT_TRUE(platform.windows.Queue().Empty());  // and messages are taken
    EXPECT_TRUE(app->mMessageQueue.empty());
    EXPECT_FALSE(app->drawCalls.empty());          // and the screen can follow input
}

TEST_F(MainLoop, ScreenSaverIdlePauseStopsUpdatesSleepsAndEndsOnInput)
{
    // A ten-minute screen saver: the pause starts after 598 s without input.
    plat::ScreenSaverState& saver = platform.windows.screenSaver;
    saver.active = true;
    saver.timeoutSec = 600;
    saver.haveLastInput = true;
    saver.lastInputMs = platform.clock.NowMs();
    gLastScreenSaverCheck = platform.clock.NowMs() - 20000; // re-read the settings at once

    platform.clock.Advance(598000);
    app->mForcePresent = true;
    app->Draw();
    EXPECT_EQ(gScreenSaverThreshold, 598000u);
    EXPECT_FALSE(gScreenSaverPause); // idle is exactly the threshold: not more
    platform.clock.Advance(1001);
    app->mForcePresent = true;
    app->Draw();
    ASSERT_TRUE(gScreenSaverPause);

    // Paused: no updates, and the loop sleeps rather than spins.
    const int before = app->mUpdateCount;
    const uint64_t sleeps = platform.clock.SleepCalls();
    for (int i = 0; i < 100; ++i)
        app->AppStep(nullptr);
    EXPECT_EQ(app->mUpdateCount, before);
    EXPECT_GE(platform.clock.SleepCalls() - sleeps, 20u);

    // Input: the next check ends the pause and everything is redrawn.
    saver.lastInputMs = platform.clock.NowMs();
    app->probe.events.clear();
    for (int i = 0; i < 400 && gScreenSaverPause; ++i)
        app->AppStep(nullptr);
    EXPECT_FALSE(gScreenSaverPause);
    EXPECT_NE(std::find(app->probe.events.begin(), app->probe.events.end(), "markalldirty"), app->probe.events.end());
    for (int i = 0; i < 50; ++i)
        app->AppStep(nullptr);
    EXPECT_GT(app->mUpdateCount, before);
}

TEST_F(MainLoop, InactiveScreenSaverNeverPauses)
{
    platform.windows.screenSaver.active = false;
    gLastScreenSaverCheck = platform.clock.NowMs() - 20000;
    platform.clock.Advance(3600000);
    app->Draw();
    EXPECT_FALSE(gScreenSaverPause);
}

TEST_F(MainLoop, PacedAtSixtyHertzRunsFiveUpdatesInThreeFrames)
{
    auto* display = new PacingDisplay(app.get(), &platform.clock);
    display->mRefreshRate = 60;
    display->pace = true;
    display->origin = platform.clock.NowMs();
    display->mIs3D = false;
    display->Init(app->mMainWindow, app->mWindowed);
    delete app->mDDInterface.exchange(display);
    app->mWidgetManager->mImage = display->GetScreenImage();
    app->mRefreshRate = 60;
    app->mWindowed = false;
    app->mRefreshPacedWanted = true;

    // Count updates per presented frame over a run of frames.
    std::vector<int> updatesAtPresent;
    StepUntil(*app, [&] {
        while (updatesAtPresent.size() < display->presentTimes.size())
            updatesAtPresent.push_back(app->mUpdateCount);
        return display->presentTimes.size() >= 13;
    });
    ASSERT_GE(updatesAtPresent.size(), 13u);
    // After the first frame, every three frames hold five updates: 1, 2, 2 in turn.
    std::vector<int> perFrame;
    for (size_t i = 1; i < updatesAtPresent.size(); ++i)
        perFrame.push_back(updatesAtPresent[i] - updatesAtPresent[i - 1]);
    for (size_t i = 0; i + 3 <= perFrame.size(); i += 3)
        EXPECT_EQ(perFrame[i] + perFrame[i + 1] + perFrame[i + 2], 5) << "frames from " << i;
    for (int n : perFrame)
        EXPECT_TRUE(n == 1 || n == 2) << n;
    EXPECT_FALSE(app->mRefreshPacedDropped);
}

// The program's own display in full screen, on the display stand-in at 60 Hz:
// each flip waits for the next refresh, so paced updates keep to the refresh
// rate and pacing is never dropped.
TEST_F(MainLoop, PacedFullScreenKeepsToTheRefreshRateOfTheDisplay)
{
    app->mRefreshPacedWanted = true;
    app->SwitchScreenMode(false, false, true);
    ASSERT_FALSE(app->mWindowed);
    ASSERT_EQ(app->mRefreshRate, 60);
    app->AdvanceClock();
    const uint32_t t0 = platform.clock.NowMs();
    const int before = app->mUpdateCount;
    StepUntil(*app, [&] { return platform.clock.NowMs() - t0 >= 3000; }, 1000000);
    const uint32_t elapsed = platform.clock.NowMs() - t0;
    ASSERT_GE(elapsed, 3000u);
    const double periods = elapsed * 60.0 / 1000.0;
    const double perPeriod = (app->mUpdateCount - before) / periods;
    EXPECT_LT(perPeriod, 2.0);
    EXPECT_GT(perPeriod, 0.5);
    EXPECT_FALSE(app->mRefreshPacedDropped);
}

TEST_F(MainLoop, RateCheckDropsPacingAfterThreeFastWindowsInARow)
{
    app->mWindowed = false;
    app->mRefreshPacedWanted = true;
    app->mLastRateCheck = platform.clock.NowMs();
    // Drive the update branch directly: each window is 100 updates.
    auto window = [&](uint32_t ms) {
        for (int i = 0; i < 100; ++i) {
            platform.clock.Advance(ms / 100);
            app->mLoopState = 1;
            app->mPendingMs = 100.0;
            app->mUpdatesSinceDraw = 0;
            app->mUpdatedSinceDraw = false;
            app->UpdateFrames(false);
        }
    };
    window(800);
    window(800);
    EXPECT_EQ(app->mFastWindowsInARow, 2);
    window(900); // a slow window resets the count
    EXPECT_EQ(app->mFastWindowsInARow, 0);
    window(500);
    window(500);
    EXPECT_FALSE(app->mRefreshPacedDropped);
    window(500);
    EXPECT_TRUE(app->mRefreshPacedDropped);
}

TEST_F(MainLoop, PresentIsSuppressedWhenNothingWasDrawnWithinASecond)
{
    app->changeEveryUpdate = false;
    app->probe.mDirty = false; // drawn
    const uint32_t start = platform.clock.NowMs();
    app->mLastPresentTime = start;
    app->mNextDrawTime = start;
    const int presents = app->mPresentCount;

    struct Case {
        uint32_t advance;
        bool dirty, force;
        bool presented;
    } cases[] = {
        {10, false, false, false},  // nothing drawn, 10 ms after the last present
        {10, false, true, true},    // forced
        {999, false, false, false}, // 999 ms after that present
        {1, false, false, true},    // 1000 ms: keep the screen alive
        {5, true, false, true},     // something was drawn
    };
    int expected = presents;
    for (const Case& c : cases) {
        platform.clock.Advance(c.advance);
        if (c.dirty)
            app->probe.MarkDirty();
        app->mForcePresent = c.force;
        const bool presented = app->Draw();
        EXPECT_EQ(presented, c.presented) << c.advance;
        expected += c.presented ? 1 : 0;
        EXPECT_EQ(app->mPresentCount, expected);
    }
}

TEST_F(MainLoop, FramesAreFiftyMillisecondsApartWhileLoading)
{
    std::atomic<bool> release{false};
    app->mLoadingCompleteHandled = false;
    app->loadContent = [&] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    auto* display = new PacingDisplay(app.get(), &platform.clock);
    display->mIs3D = false;
    display->Init(app->mMainWindow, app->mWindowed);
    delete app->mDDInterface.exchange(display);
    app->mWidgetManager->mImage = display->GetScreenImage();
    app->StartLoadingThread();
    StepUntil(*app, [&] { return display->presentTimes.size() >= 10; });
    // The first frame is spaced from the draw time before loading began.
    for (size_t i = 2; i < display->presentTimes.size(); ++i)
        EXPECT_GE(display->presentTimes[i] - display->presentTimes[i - 1], 50u);
    EXPECT_EQ(app->loadingCompletes, 0);
    release = true;
    app->WaitForLoadingThread();
    StepUntil(*app, [&] { return app->loadingCompletes > 0; });
    EXPECT_EQ(app->loadingCompletes, 1);
    StepUntil(*app, [&] { return app->mUpdateCount > 50; }, 1000);
    EXPECT_EQ(app->loadingCompletes, 1);
    EXPECT_DOUBLE_EQ(app->GetLoadingProgress(), 1.0);
}

TEST_F(MainLoop, LoadingProgress)
{
    struct {
        bool started, handled;
        int total, done;
        double want;
    } cases[] = {
        {false, false, 4, 3, 0.0}, {true, false, 0, 3, 0.0},  {true, false, 4, 3, 0.75},
        {true, false, 4, 5, 1.0},  {true, true, 4, 1, 1.0},
    };
    for (auto& c : cases) {
        app->mLoadingStarted = c.started;
        app->mLoadingCompleteHandled = c.handled;
        app->mLoadingTotal = c.total;
        app->mLoadingDone = c.done;
        EXPECT_DOUBLE_EQ(app->GetLoadingProgress(), c.want);
    }
    app->mLoadingStarted = false;
}

namespace {
struct Tracked : Widget {
    explicit Tracked(int* deletions) : mDeletions(deletions) {}
    ~Tracked() override { ++*mDeletions; }
    int* mDeletions;
};
} // namespace

// A press handler that waits on a nested loop, as a modal dialog's caller
// does; meanwhile an update of that loop closes the pressed widget. The widget
// must outlive its handler: it goes once the stepping is back outside it.
namespace {
struct NestedHandler : Tracked {
    NestedHandler(int* deletions, ZelkAppBase* app) : Tracked(deletions), mApp(app)
    {
        Resize(0, 0, 100, 100);
    }
    void MouseDown(int x, int y, int clickCode) override
    {
        for (int i = 0; i < 50; ++i)
            mApp->AppStep(nullptr);
        deletedInside = *mDeletions;
        handlerDone = true; // a write into this widget after the nested loop
    }
    ZelkAppBase* mApp;
    int deletedInside = -1;
    bool handlerDone = false;
};
} // namespace

TEST_F(MainLoop, DeferredDeletionWaitsForTheHandlersOnTheStack)
{
    int deleted = 0, queuedDeleted = 0;
    auto* pressed = new NestedHandler(&deleted, app.get());
    pressed->mZOrder = 1; // above the probe
    app->mWidgetManager->AddWidget(pressed);
    bool closed = false;
    int deletedInHandler = -1;
    app->onUpdate = [&] {
        if (closed || app->mStepDepth < 2)
            return;
        // Inside the nested loop: close the pressed widget, and queue one more
        // widget that nothing holds.
        closed = true;
        app->mWidgetManager->RemoveWidget(pressed);
        app->SafeDeleteWidget(pressed);
        app->SafeDeleteWidget(pressed); // twice: still deleted once
        app->SafeDeleteWidget(new Tracked(&queuedDeleted));
    };
    platform.windows.Queue().Post({plat::WM_LBUTTONDOWN, 0, plat::InputTranslator::PackPoint(10, 10)});
    platform.clock.Advance(10);
    StepUntil(*app, [&] {
        if (deleted == 0 && pressed->handlerDone)
            deletedInHandler = pressed->deletedInside;
        return deleted > 0;
    }, 2000);
    ASSERT_TRUE(closed) << "the nested loop did not run an update";
    EXPECT_EQ(deletedInHandler, 0); // alive while its handler ran
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(queuedDeleted, 1);
    app->onUpdate = nullptr;
}

TEST_F(MainLoop, ShutdownFromAnotherThreadRunsOnceOnTheMainThread)
{
    std::thread other([&] { app->Shutdown(); });
    other.join();
    EXPECT_EQ(app->shutdowns, 0);
    EXPECT_TRUE(app->mShutdownRequested);
    platform.clock.Advance(10);
    StepUntil(*app, [&] { return app->shutdowns > 0; }, 100);
    app->Shutdown();
    EXPECT_EQ(app->shutdowns, 1);
    EXPECT_EQ(app->shutdownThread, std::this_thread::get_id());
    EXPECT_FALSE(app->AppStep(nullptr)); // stepping has stopped
}

TEST_F(MainLoop, CloseMessageEndsTheLoopAndNothingIsQueuedAfterIt)
{
    platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
    platform.windows.Queue().Post({plat::WM_TIMER, 0, 0});
    app->AppStep(nullptr);
    EXPECT_TRUE(app->mShuttingDown);
    EXPECT_EQ(app->shutdowns, 1);
}

TEST(EmptyApplication, RunsForSimulatedSecondsAndEndsCleanly)
{
    plat::NullPlatform platform;
    platform.debug.StartCapture();
    {
        TestApp app;
        app.mLoadingThreadWanted = true;
        platform.clock.onSleep = [&](uint32_t) {
            // Sleeping gives the loading thread the processor: in simulated
            // time, let it finish before time moves on.
            while (app.mLoadingStarted && !app.mLoadingFinished)
                std::this_thread::yield();
            if (platform.clock.NowMs() >= 5000)
                platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
        };
        app.Init();
        app.Start();
        platform.clock.onSleep = nullptr;
        EXPECT_EQ(app.shutdowns, 1);
        EXPECT_EQ(app.loadingCompletes, 1);
        EXPECT_NEAR(app.mUpdateCount, 500, 5);
    }
    std::string out = platform.debug.StopCapture();
    for (const char* line : {"Seconds       = 5", "Sleep Count   = ", "Update Count  = ", "Draw Count    = ",
                             "Draw Time     = ", "Screen Blt    = ", "Resource Loading Time: "})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}
