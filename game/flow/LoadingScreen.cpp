#include "game/flow/LoadingScreen.h"

#include "game/core/CursorManager.h"
#include "game/core/GameApp.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/StepLock.h"
#include "platform/clock/Clock.h"
#include "platform/crash/ThreadStart.h"

LoadingScreen::LoadingScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "load_screen");
    mHasThread = plat::TryStartThread("zelk-loadscreen", [this] { ThreadProc(); }, mThread);
}

LoadingScreen::~LoadingScreen()
{
    {
        std::lock_guard<std::mutex> lock(mRunLock);
        mRun = false;
        mAlive = false;
    }
    mRunSignal.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void LoadingScreen::ThreadProc()
{
    auto* app = static_cast<GameApp*>(mContext);
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mRunLock);
            mRunSignal.wait(lock, [this] { return !mAlive || (mRun && !mHalted); });
            if (!mAlive)
                return;
        }
        bool going = true;
        {
            Zelk::CritSectGuard guard(gStepLock);
            // The hide may have come while this thread waited for the lock.
            if (!mRun)
                continue;
            going = app->AppStep(nullptr);
        }
        if (!going)
            mHalted = true;
        plat::Sleep(0);
    }
}

void LoadingScreen::OnShow()
{
    auto* app = static_cast<GameApp*>(mContext);
    if (CursorManager* cursor = app->GetCursorManager())
        cursor->Disable();
    if (mParent)
        mParent->MoveToTop(this);
    if (OfficeScreen* office = app->GetOfficeScreen())
        office->Hide();
    mShowTime = plat::TimeGetTime();
    mShown = true;
    if (!mHasThread)
        return;
    {
        std::lock_guard<std::mutex> lock(mRunLock);
        mHalted = false;
        mRun = true;
    }
    mRunSignal.notify_all();
}

void LoadingScreen::OnHide()
{
    auto* app = static_cast<GameApp*>(mContext);
    if (mShown && mHasThread) {
        for (uint32_t passed = plat::TimeGetTime() - mShowTime; passed < kMinimumMs;
             passed = plat::TimeGetTime() - mShowTime)
            plat::Sleep(kMinimumMs - passed);
    }
    mShown = false;
    if (mHasThread) {
        {
            std::lock_guard<std::mutex> lock(mRunLock);
            mRun = false;
        }
        // The step in flight ends before the office screen comes.
        Zelk::CritSectGuard guard(gStepLock);
    }
    if (OfficeScreen* office = app->GetOfficeScreen())
        office->Show();
    if (CursorManager* cursor = app->GetCursorManager())
        cursor->Enable();
}
