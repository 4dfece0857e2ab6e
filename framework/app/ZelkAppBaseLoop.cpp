// The main loop: steps, the fixed-step update accounting, one update, one
// frame, deferred widget deletion and the cursor and loading threads.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Rect.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/crash/ThreadStart.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cmath>

namespace Zelk {

std::atomic<bool> gScreenSaverPause{false};
std::atomic<bool> gSurfacesLost{false};

void ZelkAppBase::Start()
{
    if (mShuttingDown)
        return;
    if (!mCursorThreadRunning) {
        mCursorThreadRunning = true;
        mCursorThread = plat::StartThread("zelk-cursor", [this] { CursorThreadProc(); });
    }
    if (mLoadingThreadWanted)
        StartLoadingThread();
    plat::WindowSystem* windows = plat::Get().windows;
    if (plat::WindowHandle main = mMainWindow; main && windows) {
        windows->Show(main);
        windows->Raise(main);
    }

    const uint32_t t0 = plat::TimeGetTime();
    mStartTime = t0;
    mInMainLoop = true;
    mLastInputTime = t0;
    mLastTimerTick = t0;

    RunMainLoop();

    FreeQueuedWidgets();
    mInMainLoop = false;
    WaitForLoadingThread();

    const uint32_t elapsed = plat::TimeGetTime() - t0;
    DebugPrint("Seconds       = %g\r\n", elapsed * 0.001);
    DebugPrint("Sleep Count   = %d\r\n", mSleepCount);
    DebugPrint("Update Count  = %d\r\n", mUpdateCount);
    DebugPrint("Draw Count    = %d\r\n", mDrawCount.load());
    DebugPrint("Draw Time     = %d\r\n", mDrawTime);
    DebugPrint("Screen Blt    = %d\r\n", mScreenBltTime);
    if (mDrawTime + mScreenBltTime > 0)
        DebugPrint("Avg FPS       = %d\r\n", mDrawCount.load() * 1000 / (mDrawTime + mScreenBltTime));

    OnMainLoopEnd();
    SaveSettings();
}

void ZelkAppBase::RunMainLoop()
{
    while (!mShuttingDown) {
        mStopStepping = false;
        StepUntilUpdate();
    }
}

bool ZelkAppBase::StepUntilUpdate()
{
    bool updated = false;
    while (!updated) {
        if (!AppStep(&updated))
            return false;
    }
    return true;
}

bool ZelkAppBase::AppStep(bool* updated)
{
    if (updated)
        *updated = false;
    if (mStopStepping)
        return false;
    if (mLoopState == 3)
        mLoopState = 0;
    ++mStepDepth;

    if (mLoopState == 0) {
        PumpWindowMessages();
        RunDemoEvents();
        // Input belongs to the main thread too: a thread that steps the
        // application meanwhile (a loading screen) leaves the queue alone and
        // goes on to the updates, so a click during a load lands after it.
        const std::thread::id mainId = mMainThreadId.load();
        const bool mainThread = mainId == std::thread::id() || std::this_thread::get_id() == mainId;
        if (mainThread)
            DispatchQueuedMessage(true);
        if (!mainThread || mMessageQueue.empty())
            mLoopState = 1;
    } else if (mDebugPauseState != 0) {
        if (mDebugPauseState == 2) {
            plat::Sleep(uint32_t(mUpdatePeriod));
            mLoopState = 3;
        } else {
            mDebugPauseState = 2;
            UpdateOnce();
            PassUpdateFraction(1.0f);
            Draw();
        }
    } else {
        const int32_t before = mUpdateCount;
        UpdateFrames(true);
        if (updated)
            *updated = mUpdateCount != before;
    }

    --mStepDepth;
    return true;
}

void ZelkAppBase::AdvanceClock()
{
    const uint32_t t = plat::TimeGetTime();
    if (mLastClockTime == 0) {
        mLastClockTime = t;
        return;
    }
    const uint32_t d = t - mLastClockTime;
    mPendingMs = mPendingMs + d < 200.0 ? mPendingMs + d : 200.0;
    mLastClockTime = t;
    if (mHoldTime > 0) {
        mHoldTime -= int32_t(d);
        if (mHoldTime <= 0)
            mHoldTime = 0;
    }
}

bool ZelkAppBase::UpdateFrames(bool allowSleep)
{
    if (mShutdownRequested)
        Shutdown();

    const bool paced = !mPlayingDemo && mRefreshPacedWanted && !mDrawSkipped && !mRefreshPacedDropped &&
                       (!mWindowed || (mWaitForVSync && !mVBlankWaitSuppressed));
    double stepTime, stepFraction;
    if (paced) {
        stepTime = 1000.0 / mRefreshRate / mUpdateMultiplier;
        stepFraction = 1000.0 / int(mUpdatePeriod * mRefreshRate);
    } else {
        stepTime = mUpdatePeriod / mUpdateMultiplier;
        stepFraction = 1.0;
    }

    // A demo played back that must reach a later update runs there first.
    if (mPlayingDemo && (mUpdateCount < mPlaybackJumpTarget || mPlaybackRunToEnd) && FastForwardDemo(stepFraction))
        return true;

    if (mPlaybackPause || mUpdateMultiplier <= 0.0) {
        // Time stands still, but messages are still handled and the screen
        // still follows input: finish this decision with a draw and a sleep.
        FreeQueuedWidgets();
        return DrawAndRest(allowSleep);
    }

    const uint32_t now = plat::TimeGetTime();
    uint32_t slept = 0;
    if (!paced)
        AdvanceClock();

    enum { kUpdate, kDraw, kAfterUpdate } action;
    if (mLoopState == 1) {
        ++mUpdatesSinceDraw;
        if (mUpdatesSinceDraw >= int32_t(std::floor(10.0 * mUpdateMultiplier)) && mLoadingCompleteHandled)
            action = kDraw;
        else if (paced)
            action = (mUpdatedSinceDraw && double(int(stepTime * 0.75)) > mPendingMs) ? kDraw : kUpdate;
        else
            action = mPendingMs < stepTime ? kDraw : kUpdate;
    } else if (mLoopState == 2) {
        action = kAfterUpdate;
    } else {
        action = kDraw;
    }

    if (action == kUpdate) {
        if (!mPlayingDemo && mUpdateMultiplier == 1.0) {
            ++mUpdatesSinceRateCheck;
            if (mUpdatesSinceRateCheck >= (mUpdatePeriod + 999) / mUpdatePeriod) {
                if (now - mLastRateCheck <= 800) {
                    if (++mFastWindowsInARow >= 3)
                        mRefreshPacedDropped = true;
                } else {
                    mFastWindowsInARow = 0;
                }
                mLastRateCheck = now;
                mUpdatesSinceRateCheck = 0;
            }
        }
        const bool ran = UpdateOnce();
        mUpdatedSinceDraw = true;
        if (ran) {
            mLoopState = 2;
        } else if (mPlayingDemo && !gScreenSaverPause) {
            // The demo holds the update until its records are replayed: the
            // next step replays them.
            mLoopState = 3;
        } else {
            // No update may run (the screen-saver pause): sleep a tick instead
            // of spinning, and keep drawing so the pause can end.
            if (!DrawAndRest(allowSleep))
                return false;
            slept = uint32_t(mUpdatePeriod);
        }
    } else if (action == kAfterUpdate) {
        mLoopState = 3;
        RunFractionUpdates(stepFraction);
        double x = mPendingMs - stepTime;
        if (paced) {
            x -= 0.2;
            if (x <= 0.0)
                x = 0.0;
        }
        mPendingMs = x;
        if (mHoldTime > 0)
            mPendingMs = 0.0;
    } else {
        mLoopState = 3;
        mUpdatesSinceDraw = 0;
        if (mUpdatedSinceDraw) {
            Draw();
        } else {
            const int s = int(stepTime - mPendingMs);
            if (s > 0) {
                if (!allowSleep)
                    return false;
                ++mSleepCount;
                plat::Sleep(uint32_t(s));
                slept = uint32_t(s);
            }
        }
    }

    // While loading, give the loading thread twice the time this pass worked.
    if (mLoadingThreadRunning) {
        int32_t w = int32_t(plat::TimeGetTime() - slept - now) * 2 - int32_t(slept);
        if (w > 250)
            w = 250;
        if (w >= 0) {
            if (!allowSleep)
                return false;
            plat::Sleep(uint32_t(w));
        }
    }

    FreeQueuedWidgets();
    return true;
}

void ZelkAppBase::RunFractionUpdates(double stepFraction)
{
    mFractionAccumulator += stepFraction - 1.0;
    FreeQueuedWidgets();
    while (mFractionAccumulator >= 1.0) {
        RunDemoEvents();
        ++mUpdatesSinceDraw;
        if (!UpdateOnce())
            break;
        FreeQueuedWidgets();
        mFractionAccumulator -= 1.0;
    }
    PassUpdateFraction(float(stepFraction));
    FreeQueuedWidgets();
}

bool ZelkAppBase::DrawAndRest(bool allowSleep)
{
    mLoopState = 3;
    Draw();
    if (!allowSleep)
        return false;
    ++mSleepCount;
    plat::Sleep(uint32_t(mUpdatePeriod));
    return true;
}

bool ZelkAppBase::UpdateOnce()
{
    if (gScreenSaverPause)
        return false;
    if (mPlayingDemo) {
        if (!DemoUpdateAllowed())
            return false;
    } else if (mLoadingFinished.load(std::memory_order_acquire) && !mLoadingCompleteHandled) {
        CompleteLoading();
    }
    UpdateWidgets();
    return true;
}

void ZelkAppBase::CompleteLoading()
{
    mLoadingCompleteHandled = true;
    mLoadingThreadRunning = false;
    // Written first: a hook the completion calls records after it, so a
    // replay meets the records in the order it needs them.
    if (mRecordingDemo)
        BeginDemoRecord(false, 9);
    OnLoadingComplete();
}

void ZelkAppBase::UpdateWidgets()
{
    ++mUpdateCount;
    if (!mMinimized && mWidgetManager->UpdateFrame())
        ++mWidgetUpdateCount;
    if (mMusicInterface)
        mMusicInterface->Update();
    PurgeSharedImages();
}

void ZelkAppBase::PassUpdateFraction(float fraction)
{
    // The fraction update is wanted whenever the program asked for
    // refresh-paced updates, paced or not: widgets that move smoothly do so
    // only there.
    if (mRefreshPacedWanted && !mMinimized)
        mWidgetManager->UpdateFrameFraction(fraction);
}

bool ZelkAppBase::Draw()
{
    if (gSurfacesLost) {
        PresentFrame(nullptr);
        mUpdatedSinceDraw = false;
        mDrawSkipped = true;
        return false;
    }

    PrepareOverlay();

    const uint32_t t = plat::TimeGetTime();
    if (t - mLastIdleCheckTime > 1000) {
        mLastIdleCheckTime = t;
        CheckScreenSaverIdle(t);
    }
    if (gScreenSaverPause) {
        mDrawSkipped = true;
        mUpdatedSinceDraw = false;
        return false;
    }

    mDrawing = true;
    const bool drew = mWidgetManager->DrawScreen();
    mDrawing = false;

    if (!drew && t - mLastPresentTime < 1000 && !mForcePresent) {
        mDrawSkipped = true;
        mUpdatedSinceDraw = false;
        return false;
    }
    if (int32_t(t - mNextDrawTime.load()) < 0) {
        mDrawSkipped = true;
        mUpdatedSinceDraw = false;
        return false;
    }

    ++mDrawCount;
    mDrawSkipped = false;
    DrawOverlayImages();
    const int32_t spent = int32_t(plat::TimeGetTime() - t);
    mDrawTime += spent;
    mFPSTime += spent;
    ++mFPSCount;

    DDInterface* dd = mDDInterface;
    if (mWaitForVSync && mWindowed && mVBlankWaitSuppressed && dd) {
        const uint32_t since = plat::TimeGetTime() - mLastPresentTime;
        if (since < uint32_t(dd->mMillisecondsPerFrame))
            plat::Sleep(uint32_t(dd->mMillisecondsPerFrame) - since);
    }

    const uint32_t t3 = plat::TimeGetTime();
    mLastPresentTime = t3;
    PresentFrame(nullptr);
    AdvanceClock();
    const uint32_t t4 = plat::TimeGetTime();
    mScreenBltTime = int32_t(t4 - t3);

    if (mLoadingStarted && !mLoadingFinished.load(std::memory_order_acquire)) {
        uint32_t d = t4 - t;
        if (d < 16)
            d = 15;
        const uint32_t next = mNextDrawTime.load() + d + 35;
        mNextDrawTime = int32_t(t4 - next) < 0 ? next : t4;
    } else {
        mNextDrawTime = t4;
    }

    mUpdatedSinceDraw = false;
    mForcePresent = false;
    return true;
}

void ZelkAppBase::PresentFrame(const void* dirtyRect)
{
    if (mDrawing || mShuttingDown || gScreenSaverPause)
        return;
    DDInterface* dd = mDDInterface;
    if (!dd)
        return;
    if (dd->Redraw(static_cast<const Rect*>(dirtyRect))) {
        ++mPresentCount;
        if (gSurfacesLost) {
            gSurfacesLost = false;
            mLastRestoreAttempt = 0;
        }
    } else {
        RecoverLostDisplay();
    }
}

void ZelkAppBase::SafeDeleteWidget(Widget* widget)
{
    if (!widget)
        return;
    // A widget queued twice is deleted once.
    for (const QueuedWidget& q : mDeferredDeletes)
        if (q.widget == widget)
            return;
    // Queued from inside a nested loop, the widget may still be in a call
    // further out (the handler that runs the loop, or one that closes it):
    // it waits until the stepping is back at the outermost step.
    mDeferredDeletes.push_back({std::min(mStepDepth, int32_t(1)), widget});
}

void ZelkAppBase::FreeQueuedWidgets()
{
    // Take the due entries out first: a destructor may queue more widgets.
    std::vector<Widget*> due;
    for (auto it = mDeferredDeletes.begin(); it != mDeferredDeletes.end();) {
        if (it->depth >= mStepDepth) {
            due.push_back(it->widget);
            it = mDeferredDeletes.erase(it);
        } else {
            ++it;
        }
    }
    for (Widget* w : due)
        delete w;
}

double ZelkAppBase::GetLoadingProgress()
{
    if (mLoadingCompleteHandled)
        return 1.0;
    if (!mLoadingStarted || mLoadingTotal == 0)
        return 0.0;
    return std::min(1.0, double(mLoadingDone) / double(mLoadingTotal));
}

void ZelkAppBase::StartLoadingThread()
{
    if (mLoadingStarted)
        return;
    mLoadingThreadRunning = true;
    mLoadingStarted = true;
    mLoadingThread = plat::StartThread("zelk-loading", [this] {
        LoadContent();
        DebugPrint("Resource Loading Time: %d\r\n", int(plat::GetTickCount() - mConstructionTick));
        mLoadingFinished.store(true, std::memory_order_release);
    });
}

void ZelkAppBase::WaitForLoadingThread()
{
    if (mLoadingStarted && mLoadingThread.joinable())
        mLoadingThread.join();
}

void ZelkAppBase::CursorThreadProc()
{
    int lastX = 0, lastY = 0;
    plat::WindowSystem* windows = plat::Get().windows;
    while (!mShuttingDown) {
        int x = 0, y = 0;
        if (mPlayingDemo) {
            x = mDemoMouseX;
            y = mDemoMouseY;
        } else if (windows) {
            windows->MousePosition(x, y);
        }
        DDInterface* dd = mDDInterface;
        if (dd) {
            if (mDrawCount > 0) {
                lastX = dd->mCursorDrawnX;
                lastY = dd->mCursorDrawnY;
            }
            if (x != lastX || y != lastY) {
                if (plat::TimeGetTime() - mNextDrawTime.load() > uint32_t(dd->mMillisecondsPerFrame + 5)) {
                    dd->SetCursorPosition(x, y);
                    lastX = x;
                    lastY = y;
                } else {
                    dd->mCursorX = x;
                    dd->mCursorY = y;
                }
            }
        }
        plat::Sleep(10);
    }
    mCursorThreadRunning = false;
}

} // namespace Zelk
