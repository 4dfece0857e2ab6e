// The debug keys (Ctrl+Alt+D switches them on) and the tools behind them:
// profiler, overlay, video report, 3D switch, pause and slow motion,
// screenshots and the image dump.
#include "framework/app/DebugOverlay.h"
#include "framework/app/DebugToolHooks.h"
#include "framework/app/ImageDump.h"
#include "framework/app/PathUtil.h"
#include "framework/app/ScreenshotNames.h"
#include "framework/app/StringUtil.h"
#include "framework/app/VideoStats.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DTester.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/TextureData.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/clock/Clock.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/window/InputTranslator.h"

#include <ctime>

namespace Zelk {

DebugToolHooks gDebugToolHooks;

namespace {

enum : int {
    kKeyR = 'R',
    kKeyF2 = plat::VK_F1 + 1,
    kKeyF3 = plat::VK_F1 + 2,
    kKeyF8 = plat::VK_F1 + 7,
    kKeyF10 = plat::VK_F1 + 9,
    kKeyF11 = plat::VK_F1 + 10,
};

// The time spent in a tool does not count as elapsed game time.
void RestartLoopClock(ZelkAppBase& app)
{
    app.mPendingMs = 0.0;
    app.mLastClockTime = plat::TimeGetTime();
}

// The system's "menu command" sound file does not exist here: nothing plays.
void PlayMenuCommandSound() {}

} // namespace

bool ZelkAppBase::OnDebugKey(int key)
{
    const bool shift = mWidgetManager->mKeyDown[plat::VK_SHIFT];
    const bool ctrl = mWidgetManager->mKeyDown[plat::VK_CONTROL];
    const bool alt = mWidgetManager->mKeyDown[plat::VK_MENU];
    DebugToolHooks& hooks = gDebugToolHooks;

    switch (key) {
    case kKeyR:
        if (alt && hooks.reloadTunables) {
            if (hooks.reloadTunables()) {
                PlayMenuCommandSound();
            } else {
                // The box that reported the failure swallowed the key releases.
                for (bool& down : mWidgetManager->mKeyDown)
                    down = false;
            }
        }
        return false;
    case kKeyF2:
        if (hooks.profilerRunning && hooks.profilerRunning()) {
            if (hooks.profilerStop)
                hooks.profilerStop();
            MsgBox(hooks.profilerReport ? hooks.profilerReport() : std::string(), "Perf Results", plat::MB_OK);
            RestartLoopClock(*this);
        } else {
            RestartLoopClock(*this);
            if (hooks.profilerStart)
                hooks.profilerStart();
        }
        return false;
    case kKeyF3:
        if (shift) {
            mShowFPS = true;
            mShowFPSMode = mShowFPSMode + 1 >= 2 ? 0 : mShowFPSMode + 1;
        } else {
            mShowFPS = !mShowFPS;
        }
        mWidgetManager->MarkAllDirty();
        if (mShowFPS)
            gDebugOverlay.RestartFPS(plat::TimeGetTime());
        return false;
    case kKeyF8:
        if (shift) {
            DDInterface* display = mDDInterface.load();
            if (hooks.set3DMode)
                hooks.set3DMode(*this, !(display && display->mIs3D));
            display = mDDInterface.load();
            MsgBox(StrFormat("3D-Mode: %s", display && display->mIs3D ? "ON" : "OFF"), "Mode Switch", plat::MB_OK);
        } else {
            ShowVideoStats();
        }
        return true;
    case kKeyF10:
        // Ctrl is looked at first: Ctrl+Shift+F10 changes the speed.
        if (ctrl) {
            mUpdateMultiplier = mUpdateMultiplier == 0.25 ? 1.0 : 0.25;
        } else if (shift) {
            mDebugPauseState = 0;
            RestartLoopClock(*this);
        } else {
            mDebugPauseState = 1; // one update and one draw, then paused
        }
        return true;
    case kKeyF11:
        if (shift)
            DumpImages();
        else
            TakeScreenshot();
        return true;
    default:
        return false;
    }
}

void ZelkAppBase::TakeScreenshot()
{
    DDInterface* display = mDDInterface.load();
    if (!display || !gDebugToolHooks.captureScreen)
        return;
    const std::string folder = GetAppDataFolder() + "_screenshots";
    CreateDirectories(folder);
    const std::string path =
        NativePath(folder) + "/image" + StrFormat("%d.png", NextScreenshotNumber(folder));

    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    {
        // The cursor thread draws under this lock: it must not find the
        // draw surface gone while it is read back.
        CritSectGuard guard(display->mCritSect);
        if (!gDebugToolHooks.captureScreen(*this, width, height, pixels))
            return;
    }
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height))
        return;
    if (gDebugToolHooks.writePng)
        gDebugToolHooks.writePng(path, width, height, pixels.data());
    RestartLoopClock(*this);
}

void ZelkAppBase::DumpImages()
{
    std::vector<ImageDumpEntry> images;
    if (gDebugToolHooks.listImages) {
        CritSectGuard guard(*DisplayLock());
        gDebugToolHooks.listImages(*this, images);
    }
    const std::time_t now = std::time(nullptr);
    std::tm local;
    char timeText[64] = "";
    if (localtime_r(&now, &local))
        asctime_r(&local, timeText);
    ImageDump::Write(GetAppDataFolder() + "_dump", timeText, images, gDebugToolHooks.writePng,
                     gDebugToolHooks.writeJpeg);
}

void ZelkAppBase::ShowVideoStats()
{
    VideoStats stats;
    DDInterface* display = mDDInterface.load();
    {
        CritSectGuard guard(*DisplayLock());
        if (display) {
            stats.is3D = display->mIs3D;
            if (display->mDD7) {
                uint32_t total = 0, free = 0;
                if (display->mDD7->GetAvailableVidMem(plat::DDSCAPS_VIDEOMEMORY, &total, &free) >= 0) {
                    stats.videoTotal = total;
                    stats.videoFree = free;
                }
            }
            if (const D3DTester* tester = display->mD3DTester) {
                stats.haveTester = true;
                stats.testFailed = !tester->mFailureReason.empty();
                stats.testWarned = !tester->mWarning.empty();
            }
        }
        stats.numImages = int32_t(mMemoryImageSet.size());
        for (MemoryImage* image : mMemoryImageSet) {
            const auto* texture = static_cast<const TextureData*>(image->mTextureData);
            if (!texture)
                continue;
            VideoStats::Textures& kind = stats.textures[texture->mPixelFormat];
            ++kind.count;
            kind.bytes += texture->mTexMemSize;
        }
    }
    if (mSoundManager)
        stats.numSounds = mSoundManager->GetNumSounds();
    MsgBox(stats.Text(), "Video Stats", plat::MB_OK);
}

} // namespace Zelk
