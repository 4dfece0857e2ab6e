// The window procedure, the input queue and its dispatch, focus, cursors and
// the screen-saver idle pause.
#include "framework/app/AppCursors.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/window/InputTranslator.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

namespace Zelk {

uint32_t gScreenSaverThreshold = 60000;
bool gScreenSaverActive = true;
uint32_t gLastScreenSaverCheck = 0;

namespace {

constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_QUERYOPEN = 0x0013;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_ENDSESSION = 0x0016;
constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
constexpr uintptr_t SC_SCREENSAVE = 0xF140;
constexpr uintptr_t SC_MONITORPOWER = 0xF170;
uint32_t gLastMonitorPowerRequest = 0;

bool IsQueuedMessage(uint32_t m)
{
    switch (m) {
    case plat::WM_MOVE: case plat::WM_SIZE: case plat::WM_CLOSE: case plat::WM_SYSCOLORCHANGE:
    case plat::WM_ACTIVATEAPP: case plat::WM_DISPLAYCHANGE: case plat::WM_KEYDOWN: case plat::WM_KEYUP:
    case plat::WM_CHAR: case plat::WM_SYSKEYDOWN: case plat::WM_SYSKEYUP: case plat::WM_TIMER:
    case plat::WM_MOUSEWHEEL:
        return true;
    default:
        return m >= plat::WM_MOUSEMOVE && m <= plat::WM_MBUTTONUP;
    }
}

int16_t LowWord(intptr_t v) { return int16_t(uint16_t(uintptr_t(v) & 0xFFFF)); }
int16_t HighWord(intptr_t v) { return int16_t(uint16_t((uintptr_t(v) >> 16) & 0xFFFF)); }

} // namespace

void ZelkAppBase::PumpWindowMessages()
{
    // Window messages belong to the main thread: another thread that steps
    // the application (a loading screen) finds none.
    if (std::this_thread::get_id() != mMainThreadId.load())
        return;
    plat::WindowSystem* windows = plat::Get().windows;
    if (!windows)
        return;
    plat::WindowMessage msg;
    while (!mShuttingDown && windows->Queue().Peek(msg))
        WindowProc(mMainWindow, msg);
}

intptr_t ZelkAppBase::WindowProc(plat::WindowHandle window, const plat::WindowMessage& msg)
{
    plat::WindowSystem* windows = plat::Get().windows;
    const uint32_t m = msg.message;

    switch (m) {
    case plat::WM_DESTROY:
        DebugPrint("DESTROYED HWND: %d\r\n", int(window));
        return 0;
    case WM_ENABLE:
        mWindowDisabled = msg.wParam == 0;
        return 0;
    case plat::WM_PAINT:
        if (mInitialized && !mCrashed && mInMainLoop)
            PresentFrame(nullptr);
        return 0;
    case WM_QUERYOPEN:
        return IsEnabled() ? 1 : 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENDSESSION:
        Shutdown();
        return 0;
    case plat::WM_SETCURSOR:
        if (!mCrashed)
            UpdateCursor();
        return 1;
    case WM_NCLBUTTONDOWN:
        // A drag of the caption is over: no catch-up for the time it took.
        mLastClockTime = plat::TimeGetTime();
        mPendingMs = 0.0;
        return 0;
    case plat::WM_SYSCHAR:
        return OnSysChar(int(msg.wParam)) ? 0 : 1;
    case plat::WM_SYSCOMMAND:
        if ((msg.wParam & 0xFFF0) == SC_SCREENSAVE)
            return (!mLoadingCompleteHandled || !mWindowed) ? 0 : 1;
        if ((msg.wParam & 0xFFF0) == SC_MONITORPOWER) {
            gLastMonitorPowerRequest = plat::GetTickCount();
            return (!mAllowMonitorPowerOff || !mLoadingCompleteHandled) ? 0 : 1;
        }
        return 1;
    default:
        break;
    }

    if (IsQueuedMessage(m)) {
        if (m == plat::WM_ACTIVATEAPP && window == mMainWindow && !mPlayingDemo)
            mActive = msg.wParam != 0;
        if (mGDISurfaceShown)
            return 0;
        const bool press = m == plat::WM_KEYDOWN || m == plat::WM_SYSKEYDOWN;
        const bool release = m == plat::WM_KEYUP || m == plat::WM_SYSKEYUP;
        if (press || release) {
            if (msg.wParam == plat::VK_CONTROL)
                mCtrlDown = press;
            else if (msg.wParam == plat::VK_MENU)
                mAltDown = press;
            if (press && OnKeyHook(int(msg.wParam), mCtrlDown, mAltDown))
                return 0;
        }
        if (mPlayingDemo)
            HandlePlaybackInput(msg);
        bool queue = true;
        if (!mMessageQueue.empty()) {
            const uint32_t last = mMessageQueue.back().message;
            if (last == plat::WM_CLOSE)
                queue = false;
            else if (m == plat::WM_TIMER && last == plat::WM_TIMER)
                queue = false;
        }
        if (queue && (m == plat::WM_SYSCOLORCHANGE || m == plat::WM_DISPLAYCHANGE)) {
            for (const plat::WindowMessage& q : mMessageQueue)
                if (q.message == plat::WM_SYSCOLORCHANGE || q.message == plat::WM_DISPLAYCHANGE)
                    queue = false;
        }
        if (queue)
            mMessageQueue.push_back(msg);

        if (m == plat::WM_SIZE)
            mMinimizedBySize = msg.wParam == plat::SIZE_MINIMIZED;
        if (m == plat::WM_SYSKEYDOWN) {
            // Alt+F4 asks the window to close, as the desktop's own handling
            // does; no other Alt key does anything by itself.
            if (msg.wParam == plat::VK_F4 && windows)
                windows->Queue().Post({plat::WM_CLOSE, 0, 0});
            return 0;
        }
        if (m == plat::WM_CLOSE) {
            OnCloseRequest();
            return 0;
        }
        return 0;
    }

    if (m == mNotifyMessage && mNotifyMessage != 0) {
        OnInstanceNotify(msg.wParam, msg.lParam);
        return 0;
    }
    return 0;
}

bool ZelkAppBase::DispatchQueuedMessage(bool onlyOne)
{
    if (mMessageQueue.empty())
        return false;
    plat::WindowSystem* windows = plat::Get().windows;
    do {
        const plat::WindowMessage msg = mMessageQueue.front();
        mMessageQueue.pop_front();
        if (mRecordingDemo && !mShuttingDown)
            RecordQueuedMessage(msg);
        if (mPlayingDemo) {
            // Only the demo drives the program; closing it still works.
            if (msg.message == plat::WM_CLOSE) {
                mDemoCloseSeen = true;
                Shutdown();
            }
            continue;
        }
        const uint32_t m = msg.message;
        switch (m) {
        case plat::WM_MOVE:
            if (mWindowedWanted && windows && mMainWindow && !windows->IsMinimized(mMainWindow)) {
                mPreferredX = LowWord(msg.lParam);
                mPreferredY = HighWord(msg.lParam);
            }
            break;
        case plat::WM_SIZE:
            if (!mShuttingDown) {
                const bool minimized = msg.wParam == plat::SIZE_MINIMIZED;
                if (minimized != mMinimized) {
                    mMinimized = minimized;
                    if (minimized) {
                        if (mMuteOnLostFocus)
                            Mute(true);
                    } else {
                        if (mMuteOnLostFocus)
                            Unmute(true);
                        mWidgetManager->MarkAllDirty();
                    }
                }
                UpdateFocusState();
                if (msg.wParam == plat::SIZE_MAXIMIZED)
                    SetWindowedMode(false);
            }
            break;
        case plat::WM_SYSCOLORCHANGE:
        case plat::WM_DISPLAYCHANGE:
            mWidgetManager->RefreshTree();
            mWidgetManager->MarkAllDirty();
            break;
        case plat::WM_ACTIVATEAPP:
            if (!mCrashed && !mShuttingDown)
                ApplyActivation();
            break;
        case plat::WM_KEYDOWN:
        case plat::WM_SYSKEYDOWN: {
            mLastInputTime = mLastTimerTick;
            const int key = int(msg.wParam);
            if (key == plat::VK_RETURN && m == plat::WM_SYSKEYDOWN) {
                if (!mFullScreenForced && !mWindowedForced) {
                    SetWindowedMode(!mWindowedWanted);
                    ClearKeyState();
                    break;
                }
            }
            if (key == 'D' && mWidgetManager->mKeyDown[plat::VK_CONTROL] && mWidgetManager->mKeyDown[plat::VK_MENU])
                mDebugKeysEnabled = !mDebugKeysEnabled;
            if (mDebugKeysEnabled && OnDebugKey(key))
                break;
            mWidgetManager->KeyDown(key);
            break;
        }
        case plat::WM_KEYUP:
        case plat::WM_SYSKEYUP:
            mLastInputTime = mLastTimerTick;
            mWidgetManager->KeyUp(int(msg.wParam));
            break;
        case plat::WM_CHAR:
            mLastInputTime = mLastTimerTick;
            mWidgetManager->KeyChar(wchar_t(msg.wParam & 0xFFFF));
            break;
        case plat::WM_TIMER:
            if (!mCrashed && mInMainLoop) {
                const uint32_t t = plat::GetTickCount();
                if (t - mLastTimerTick > 500)
                    mTimerResumeTick = t;
                mLastTimerTick = t;
                if (mUrlPending && t - mTimerResumeTick > 5000) {
                    const uint32_t d = t - mUrlRequestTick;
                    if (d > 8000 && !mActive)
                        OnUrlOpened(mPendingUrl);
                    else if (d > 12000 && mActive)
                        OnUrlOpenFailed(mPendingUrl);
                }
                int x = 0, y = 0;
                const bool inside = windows && mMainWindow && windows->MouseInClient(mMainWindow, x, y);
                if (inside != mMouseIn) {
                    if (mRecordingDemo && !mShuttingDown)
                        RecordMouseInWindow(inside);
                    if (!inside) {
                        mWidgetManager->RemapMouse(x, y);
                        mWidgetManager->MouseExit();
                    }
                    mMouseIn = inside;
                    UpdateCursor();
                }
            }
            break;
        case plat::WM_MOUSEWHEEL: {
            const int delta = int(int8_t(HighWord(intptr_t(msg.wParam)) / 120));
            mWidgetManager->MouseWheel(delta);
            break;
        }
        case plat::WM_CLOSE:
            mDemoCloseSeen = true;
            Shutdown();
            break;
        default:
            if (m >= plat::WM_MOUSEMOVE && m <= plat::WM_MBUTTONUP && !mCrashed) {
                int x = LowWord(msg.lParam), y = HighWord(msg.lParam);
                mWidgetManager->RemapMouse(x, y);
                mLastInputTime = mLastTimerTick;
                mWidgetManager->MouseMove(x, y);
                if (!mMouseIn) {
                    if (mRecordingDemo)
                        RecordMouseInWindow(true);
                    mMouseIn = true;
                    UpdateCursor();
                }
                // (message, click code, the manager's bit of that button)
                static const struct {
                    uint32_t message;
                    int clicks;
                    int bit;
                    bool down;
                } kButtons[] = {
                    {plat::WM_LBUTTONDOWN, 1, 1, true},    {plat::WM_LBUTTONUP, 1, 1, false},
                    {plat::WM_LBUTTONDBLCLK, 2, 1, true},  {plat::WM_RBUTTONDOWN, -1, 2, true},
                    {plat::WM_RBUTTONUP, -1, 2, false},    {plat::WM_RBUTTONDBLCLK, -2, 2, true},
                    {plat::WM_MBUTTONDOWN, 3, 4, true},    {plat::WM_MBUTTONUP, 3, 4, false},
                };
                for (const auto& b : kButtons) {
                    if (b.message != m)
                        continue;
                    if (b.down) {
                        if (windows)
                            windows->SetCapture(mMainWindow);
                        mWidgetManager->MouseDown(x, y, b.clicks);
                    } else {
                        if (windows && (mWidgetManager->mDownButtons & ~b.bit) == 0)
                            windows->ReleaseCapture();
                        mWidgetManager->MouseUp(x, y, b.clicks);
                    }
                }
            }
            break;
        }
    } while (!onlyOne && !mMessageQueue.empty());
    return !mMessageQueue.empty();
}

void ZelkAppBase::ApplyActivation()
{
    UpdateFocusState();
    if (mActive && !mWindowedWanted)
        mWidgetManager->MarkAllDirty();
    if (mUrlPending && !mActive)
        OnUrlOpened(mPendingUrl);
}

void ZelkAppBase::UpdateFocusState()
{
    const bool focus = mActive && !mMinimized;
    if (focus == mHasFocus)
        return;
    mHasFocus = focus;
    if (focus) {
        if (mMuteOnLostFocus)
            Unmute(true);
        mWidgetManager->AppGotFocus();
        OnGotFocus();
    } else {
        if (mMuteOnLostFocus)
            Mute(true);
        mWidgetManager->AppLostFocus();
        OnLostFocus();
        if (plat::WindowSystem* windows = plat::Get().windows)
            windows->ReleaseCapture();
        mWidgetManager->ReleaseCapture();
    }
}

void ZelkAppBase::ReleaseInput()
{
    if (!mWindowed)
        mGDISurfaceShown = false;
    mLastClockTime = plat::TimeGetTime();
    mPendingMs = 0.0;
    ClearKeyState();
    if (mWidgetManager->mDownButtons) {
        mWidgetManager->ReleaseCapture();
        if (plat::WindowSystem* windows = plat::Get().windows)
            windows->ReleaseCapture();
    }
}

void ZelkAppBase::ClearKeyState()
{
    for (bool& k : mWidgetManager->mKeyDown)
        k = false;
    mCtrlDown = false;
    mAltDown = false;
}

void ZelkAppBase::SetCursor(int kind)
{
    mCursorKind = kind;
    UpdateCursor();
}

void ZelkAppBase::SetCursorImage(int kind, Image* image)
{
    if (kind < 0 || kind > 12)
        return;
    mCursorImages[kind] = image;
    UpdateCursor();
}

void ZelkAppBase::SetCustomCursors(bool on)
{
    mCustomCursors = on;
    UpdateCursor();
}

void ZelkAppBase::UpdateCursor()
{
    DDInterface* dd = mDDInterface;
    plat::WindowSystem* windows = plat::Get().windows;
    if (!dd || !windows)
        return;
    bool shown = true;
    const int kind = mCursorKind;
    Image* image = kind >= 0 && kind <= 12 ? mCursorImages[kind] : nullptr;
    if (!mCrashed && mMouseIn && image && (mPlayingDemo || mCustomCursors || kind == 12)) {
        if (dd->SetCursorImage(image))
            mForcePresent = true;
        if (mPlayingDemo)
            windows->SetCursor(windows->LoadSystemCursor(mMouseIn ? plat::SystemCursor::No : plat::SystemCursor::Arrow));
        else
            windows->SetCursor(0);
        shown = false;
    } else {
        plat::CursorHandle cursor = 0;
        if (mCrashed || !mMouseIn) {
            cursor = windows->LoadSystemCursor(plat::SystemCursor::Arrow);
        } else if (mOverrideCursor) {
            cursor = mOverrideCursor;
        } else {
            switch (kind) {
            case 1: cursor = mHandCursor; break;
            case 2: cursor = mDraggingCursor; break;
            case 3: cursor = windows->LoadSystemCursor(plat::SystemCursor::IBeam); break;
            case 4: cursor = windows->LoadSystemCursor(plat::SystemCursor::No); break;
            case 5: cursor = windows->LoadSystemCursor(plat::SystemCursor::SizeAll); break;
            case 6: cursor = windows->LoadSystemCursor(plat::SystemCursor::SizeNESW); break;
            case 7: cursor = windows->LoadSystemCursor(plat::SystemCursor::SizeNS); break;
            case 8: cursor = windows->LoadSystemCursor(plat::SystemCursor::SizeNWSE); break;
            case 9: cursor = windows->LoadSystemCursor(plat::SystemCursor::SizeWE); break;
            case 10: cursor = windows->LoadSystemCursor(plat::SystemCursor::Wait); break;
            case 11: case 12: cursor = 0; break;
            default: cursor = windows->LoadSystemCursor(plat::SystemCursor::Arrow); break;
            }
        }
        windows->SetCursor(cursor);
        if (dd->SetCursorImage(nullptr))
            mForcePresent = true;
    }
    mSysCursor = shown;
}

bool ZelkAppBase::OnSysChar(int c)
{
    return c == 13 || CharToLower(c) == 'r';
}

bool ZelkAppBase::IsEnabled() { return !mWindowDisabled; }

void ZelkAppBase::OnCloseRequest() {}

void CheckScreenSaverIdle(uint32_t now)
{
    ZelkAppBase* app = gAppBase;
    plat::WindowSystem* windows = plat::Get().windows;
    if (!app || !windows || !app->mWindowed || app->mScreenSaverMode)
        return;
    const plat::ScreenSaverState state = windows->ScreenSaver();
    if (now - gLastScreenSaverCheck > 10000) {
        gLastScreenSaverCheck = now;
        gScreenSaverActive = state.active;
        const int64_t seconds = std::max<int64_t>(int64_t(state.timeoutSec) - 2, 1);
        gScreenSaverThreshold = seconds * 1000;
        if (!gScreenSaverActive)
            gScreenSaverPause = false;
    }
    if (state.haveLastInput)
        app->mLastInputTime = int32_t(state.lastInputMs - now) > 0 ? now : state.lastInputMs;
    if (!gScreenSaverActive)
        return;
    const uint32_t idle = now - app->mLastInputTime;
    if (gScreenSaverPause) {
        if (!state.running && idle < gScreenSaverThreshold) {
            gScreenSaverPause = false;
            app->mWidgetManager->MarkAllDirty();
        }
    } else if (idle > gScreenSaverThreshold) {
        gScreenSaverPause = true;
    }
}

} // namespace Zelk
