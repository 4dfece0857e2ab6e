#include "framework/app/DebugOverlay.h"

#include "framework/app/StringUtil.h"

namespace Zelk {

DebugOverlay gDebugOverlay;

void DebugOverlay::RestartFPS(uint32_t nowMs)
{
    mTimerStart = nowMs;
    mFrames = 0;
    mLastFPS = 0;
    mRestart = true;
}

bool DebugOverlay::UpdateFPS(uint32_t nowMs, std::wstring& text)
{
    ++mFrames;
    const uint32_t elapsed = nowMs - mTimerStart;
    if (elapsed < 1000 && !mRestart)
        return false;
    if (mRestart) {
        mRestart = false;
        mLastFPS = 0;
    } else {
        mLastFPS = int32_t(mFrames * 1000.0 / elapsed + 0.5);
    }
    mTimerStart = nowMs;
    mFrames = 0;
    text = WStrFormat(L"FPS: %d", mLastFPS);
    return true;
}

std::wstring DebugOverlay::MousePosText(int x, int y) { return WStrFormat(L"%d,%d", x, y); }

bool DebugOverlay::UpdateDemoTime(uint32_t nowTick, double multiplier, int32_t lastUpdate, int32_t currentUpdate,
                                  int32_t updatePeriodMs, std::wstring& text)
{
    if (multiplier <= 0.0 || double(nowTick - mLastDemoRedraw) < 1000.0 / multiplier)
        return false;
    mLastDemoRedraw = nowTick;
    text = DemoTimeText(lastUpdate - currentUpdate, updatePeriodMs);
    return true;
}

std::wstring DebugOverlay::DemoTimeText(int32_t updatesLeft, int32_t updatePeriodMs)
{
    const int64_t seconds = int64_t(updatesLeft) * updatePeriodMs / 1000;
    return WStrFormat(L"%02d:%02d:%02d", int(seconds / 3600), int((seconds / 60) % 60), int(seconds % 60));
}

} // namespace Zelk
