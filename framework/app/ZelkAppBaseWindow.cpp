// The main window, the screen modes and the display's set-up, fall-backs and
// recovery.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/Rect.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Platform.h"
#include "platform/app/ExitCodes.h"
#include "platform/clock/Clock.h"
#include "platform/window/WindowSystem.h"

namespace Zelk {

namespace {

std::wstring FailedInitText(ZelkAppBase* app, DDInterface* dd, int result)
{
    return app->GetString("FAILED_INIT_DIRECTDRAW", L"Failed to initialize DirectDraw: ") +
           StringToWString(DisplayResultName(result) + " " + dd->mErrorText);
}

} // namespace

WindowPlacement PlaceWindow(int outerWidth, int outerHeight, int preferredX, int preferredY, int workX, int workY,
                            int workWidth, int workHeight)
{
    WindowPlacement p;
    if (preferredX == -1) {
        p.x = workX + (workWidth - outerWidth) / 2;
        p.y = workY + int(0.382 * (workHeight - outerHeight));
        // A window taller or wider than the work area keeps its caption on it.
        if (p.x < workX)
            p.x = workX;
        if (p.y < workY)
            p.y = workY;
        return p;
    }
    const int workRight = workX + workWidth, workBottom = workY + workHeight;
    p.x = preferredX;
    p.y = preferredY;
    if (p.x < workX + 4)
        p.x = workX + 4;
    if (p.y < workY + 4)
        p.y = workY + 4;
    if (p.x + outerWidth >= workRight - 4)
        p.x = workRight - 4 - outerWidth;
    if (p.y + outerHeight >= workBottom - 4)
        p.y = workBottom - 4 - outerHeight;
    return p;
}

void ZelkAppBase::MakeWindow()
{
    plat::WindowSystem* windows = plat::Get().windows;
    if (!windows)
        return;
    if (plat::WindowHandle old = mMainWindow.exchange(0)) {
        windows->Destroy(old);
        mWidgetManager->mImage = nullptr;
    }

    plat::WindowDesc desc;
    desc.title = mTitle;
    desc.width = mWidth;
    desc.height = mHeight;
    if (!mPlayingDemo && (!mWindowedWanted || mChangeDesktopMode)) {
        desc.fullScreen = true;
        desc.x = 0;
        desc.y = 0;
        mMainWindow = windows->Create(desc);
        mWindowed = false;
    } else {
        desc.maximizeBox = mMaximizeBox;
        int left = 0, top = 0, right = 0, bottom = 0;
        windows->FrameMargins(left, top, right, bottom);
        const int outerWidth = mWidth + left + right, outerHeight = mHeight + top + bottom;
        int wx = 0, wy = 0, ww = 0, wh = 0;
        windows->WorkArea(wx, wy, ww, wh);
        const WindowPlacement p = PlaceWindow(outerWidth, outerHeight, mPreferredX, mPreferredY, wx, wy, ww, wh);
        desc.x = p.x;
        desc.y = p.y;
        mMainWindow = windows->Create(desc);
        mWindowed = true;
    }

    DDInterface* dd = mDDInterface;
    if (!dd) {
        dd = new DDInterface(this);
        mDDInterface = dd;
        bool is3D = false;
        if (RegistryReadBoolean("Is3D", &is3D)) {
            if (mAuto3D || is3D)
                mTest3D = true;
            dd->mIs3D = is3D;
            dd->m3DChoiceStored = true;
        }
    }

    const int r = InitDisplay();
    if (dd->TesterNewResult())
        RegistryEraseValue(L"Is3D");

    if (mWindowedWanted && r == 6) {
        if (mWindowedForced) {
            FatalErrorW(GetString("PLEASE_SET_COLOR_DEPTH", L"Please set your desktop color depth to 16 bit."));
            ExitNow(plat::kExitNoDisplay);
        }
        mFullScreenForced = true;
        SetWindowedMode(false);
        return;
    }
    if (!mWindowedWanted && (r == 4 || r == 5)) {
        if (mFullScreenForced) {
            // Neither mode can be shown: going on would leave no display at all.
            FatalErrorW(FailedInitText(this, dd, r));
            ExitNow(plat::kExitNoDisplay);
        }
        mWindowedForced = true;
        SetWindowedMode(true);
    } else if (r == 7 || (r != 0 && dd->mIs3D)) {
        // The 2D display that replaced it needs the same bookkeeping as any
        // other success (focus, screen image, the window's timer).
        Set3DMode(false, true);
    } else if (r != 0) {
        FatalErrorW(FailedInitText(this, dd, r));
        ExitNow(plat::kExitNoDisplay);
    }

    const bool oldActive = mActive;
    mActive = windows->IsActive(mMainWindow);
    mMinimizedBySize = false;
    if (mMinimized) {
        if (mMuteOnLostFocus)
            Unmute(true);
        mMinimized = false;
        UpdateFocusState();
    } else if (mActive != oldActive || mActive != mHasFocus) {
        UpdateFocusState();
    }
    ReapplyAllImageReductions();
    mWidgetManager->mImage = static_cast<MemoryImage*>(dd->GetScreenImage());
    mWidgetManager->MarkAllDirty();
    windows->SetTimer(mMainWindow, 100, uint32_t(mUpdatePeriod));
}

int ZelkAppBase::InitDisplay()
{
    OnBeforeDisplayInit();
    FreeAllNativeImageData();
    DDInterface* dd = mDDInterface;
    const int r = dd->Init(mMainWindow, mWindowed);
    ReadRefreshRate();
    if (r != 0)
        return r;
    mScreenX = (mWidth - dd->mDisplayWidth) / 2;
    mScreenY = (mHeight - dd->mDisplayHeight) / 2;
    mScreenWidth = dd->mDisplayWidth;
    mScreenHeight = dd->mDisplayHeight;
    mWidgetManager->Resize(Rect(mScreenX, mScreenY, mScreenWidth, mScreenHeight), dd->mPresentationRect);
    OnDisplayInit();
    return 0;
}

void ZelkAppBase::ReadRefreshRate()
{
    if (DDInterface* dd = mDDInterface)
        mRefreshRate = dd->mRefreshRate;
    if (mRecordingDemo)
        RecordRefreshRate();
}

void ZelkAppBase::Set3DMode(bool use3D, bool reinitialise)
{
    DDInterface* dd = mDDInterface;
    if (!dd || dd->mIs3D == use3D)
        return;
    m3DChangedThisRun = true;
    dd->mIs3D = use3D;
    if (!reinitialise)
        return;
    const int r = InitDisplay();
    if (r != 0) {
        if (use3D) {
            Set3DMode(false, reinitialise);
            return;
        }
        FatalErrorW(FailedInitText(this, dd, r));
        ExitNow(plat::kExitNoDisplay);
    }
    ReapplyAllImageReductions();
    mWidgetManager->mImage = static_cast<MemoryImage*>(dd->GetScreenImage());
    mWidgetManager->MarkAllDirty();
}

void ZelkAppBase::SwitchScreenMode(bool wantWindowed, bool use3D, bool force)
{
    const bool w = mFullScreenForced ? false : wantWindowed;
    if (mWindowedWanted == w && !force) {
        Set3DMode(use3D, true);
        return;
    }
    Set3DMode(use3D, false);
    mWindowedWanted = w;
    MakeWindow();
    plat::WindowSystem* windows = plat::Get().windows;
    if (windows && mMainWindow) {
        windows->Show(mMainWindow);
        if (!mUrlPending)
            windows->Raise(mMainWindow);
    }
    if (mSoundManager)
        mSoundManager->SetCooperativeWindow(mMainWindow, mWindowedWanted);
}

void ZelkAppBase::SetWindowedMode(bool windowed)
{
    DDInterface* dd = mDDInterface;
    SwitchScreenMode(windowed, dd && dd->mIs3D, false);
}

void ZelkAppBase::RecreateWindowMode()
{
    DDInterface* dd = mDDInterface;
    SwitchScreenMode(mWindowedWanted, dd && dd->mIs3D, true);
}

void ZelkAppBase::SetScreenImageInVideoMemory(bool inVideoMemory)
{
    DDInterface* dd = mDDInterface;
    if (!dd || inVideoMemory == mScreenImageInVideoMemory)
        return;
    mScreenImageInVideoMemory = inVideoMemory;
    dd->RecreateScreenImage(inVideoMemory);
    mWidgetManager->mImage = static_cast<MemoryImage*>(dd->GetScreenImage());
    mWidgetManager->MarkAllDirty();
}

bool ZelkAppBase::BeginPopup()
{
    if (mWindowed)
        return true;
    DDInterface* dd = mDDInterface;
    if (!dd)
        return false;
    mGDISurfaceShown = true;
    return dd->FlipToGDISurface() >= 0;
}

void ZelkAppBase::RecoverLostDisplay()
{
    DDInterface* dd = mDDInterface;
    plat::WindowSystem* windows = plat::Get().windows;
    if (!dd || !windows)
        return;
    gDeviceLost = false; // the renderer's render-target failure

    gSurfacesLost = true;
    const uint32_t t = plat::GetTickCount();
    if (!mActive && ((mLastRestoreAttempt && t - mLastRestoreAttempt < 1001) || !mWindowed))
        return;
    if (windows->IsMinimized(mMainWindow) || mMinimized)
        return;

    mLastRestoreAttempt = t;
    mWidgetManager->mImage = nullptr;
    int desktopWidth = 0, desktopHeight = 0;
    windows->DesktopSize(desktopWidth, desktopHeight);
    if ((mWidth >= desktopWidth || mHeight >= desktopHeight) && mWindowedWanted) {
        if (!mWindowedForced) {
            mFullScreenForced = true;
            SetWindowedMode(false);
        } else {
            FatalErrorW(GetString("PLEASE_SET_COLOR_DEPTH", L"Please set your desktop color depth to 16 bit."));
            Shutdown();
        }
        return;
    }
    mFullScreenForced = false;
    const int r = InitDisplay();
    if (mWindowedWanted && r == 6) {
        if (!mActive)
            return;
        SetWindowedMode(false);
        mFullScreenForced = true;
        return;
    }
    if (r == 7) {
        Set3DMode(false, true);
        return;
    }
    if (r != 0)
        return;
    ReapplyAllImageReductions();
    mWidgetManager->mImage = static_cast<MemoryImage*>(dd->GetScreenImage());
    mWidgetManager->MarkAllDirty();
}

} // namespace Zelk
