// What the application object does when the process crashes: it quiets
// itself and describes itself in the crash text.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"

namespace Zelk {

// Runs on the faulting thread, after the essential report is out. The music
// interface is asked to go quiet even though the fault may have happened while
// it held its lock. Nothing here calls the window system: the faulting thread
// may be the event thread, stopped inside a call of the desktop's library that
// holds the display's lock. The crash window, a process of its own, hides the
// program's windows (and so gives the desktop's cursor back) before it shows.
void ZelkAppBase::OnCrash()
{
    mCrashed = true;
    SetMusicVolume(0.0);
}

void ZelkAppBase::OnCrashReported() { WriteDemoFile(); }

std::string ZelkAppBase::GetCrashReportInfo()
{
    const uint32_t seconds = (plat::GetTickCount() - mConstructionTick) / 1000;
    std::string text = "Product: " + mProdName + "\r\n";
    text += "Version: " + mProductVersion + "\r\n";
    text += "Time Loaded: " + StrFormat("%02u:%02u:%02u", seconds / 3600, (seconds / 60) % 60, seconds % 60);
    text += std::string("\r\nFullscreen: ") + (mWindowed ? "No" : "Yes");
    text += "\r\nPrimary ThreadId: " + StrFormat("%X", mPrimaryThreadId) + "\r\n";
    return text;
}

} // namespace Zelk
