// The demo player's controls: the playback keys, the fast-forward of the
// update accounting, and the marker list and jump-to-time dialogs.
#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/sound/SoundManager.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/dialog/ModalDialogHost.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>
#include <climits>

namespace Zelk {

namespace {

// When the fast-forward last drew (GetTickCount): one value for the process.
uint32_t gLastFastDrawTime = 0;
bool gFastDrawTimeSet = false;

// Repeated "+" must not grow the speed until the update accounting overflows.
constexpr double kMaxPlaybackSpeed = 1000.0;
constexpr int kMarkerListBox = 100;
constexpr int kJumpTimeEdit = 100;
// The remembered jump text: read up to this many bytes, typed up to this many
// characters (with the terminator).
constexpr size_t kMaxStoredJumpText = 1000;
constexpr size_t kMaxTypedJumpText = 500;
// Typed times are held here (about 30,000 years), so nothing overflows.
constexpr int64_t kMaxJumpSeconds = 1000000000000;

int32_t ClampUpdate(int64_t update) { return int32_t(std::clamp<int64_t>(update, 0, INT32_MAX)); }

int32_t Period(const ZelkAppBase& app) { return app.mUpdatePeriod > 0 ? app.mUpdatePeriod : 1; }

// The update a time before the demo's end stands for.
int32_t UpdateBeforeEnd(const ZelkAppBase& app, int64_t milliseconds)
{
    return ClampUpdate(int64_t(app.mDemoRecordedEnd) - milliseconds / Period(app));
}

// "h:m:s", "m:s" or "s" (empty parts skipped, each part read as atoi does):
// one second more than that before the end.
int32_t JumpTimeTarget(const ZelkAppBase& app, const std::string& text)
{
    int64_t seconds = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ':') {
            ++i;
            continue;
        }
        size_t end = text.find(':', i);
        if (end == std::string::npos)
            end = text.size();
        const int64_t part = ReadLeadingInteger(text.substr(i, end - i), -kMaxJumpSeconds, kMaxJumpSeconds);
        seconds = std::clamp<int64_t>(seconds * 60 + part, -kMaxJumpSeconds, kMaxJumpSeconds);
        i = end;
    }
    return UpdateBeforeEnd(app, (seconds + 1) * 1000);
}

// Where the application's settings live, as the dialogs open it directly.
std::string SettingsKey(const ZelkAppBase& app) { return RemoveTrailingSlash("SOFTWARE\\" + app.mRegKey); }

void MarkerListProc(ZelkAppBase& app, plat::DialogWindow& dialog, plat::DialogEvent event, int control, int code)
{
    switch (event) {
    case plat::DialogEvent::Init:
        for (const DemoMarker& marker : app.mDemoMarkers) {
            if (marker.update <= app.mUpdateCount)
                continue;
            const int64_t s = (int64_t(app.mDemoRecordedEnd) - marker.update) * app.mUpdatePeriod / 1000;
            dialog.AddListEntry(kMarkerListBox,
                                WStrFormat(L"%s (%02d:%02d:%02d)", ToWString(marker.name).c_str(), int(s / 3600),
                                           int(s / 60 % 60), int(s % 60)),
                                marker.update);
        }
        break;
    case plat::DialogEvent::Command: {
        if (control != kMarkerListBox || code != plat::LBN_DBLCLK)
            break;
        const int selected = dialog.ListSelection(kMarkerListBox);
        if (selected < 0)
            break;
        const intptr_t update = dialog.ListItemData(kMarkerListBox, selected);
        if (update > app.mUpdateCount) {
            app.mPlaybackJumpTarget = ClampUpdate(update);
            dialog.End(0);
        }
        break;
    }
    case plat::DialogEvent::Close:
        dialog.End(0);
        break;
    }
}

void JumpToTimeProc(ZelkAppBase& app, plat::DialogWindow& dialog, plat::DialogEvent event, int control, int code)
{
    plat::SettingsStore* store = plat::Get().settings;
    const std::string key = SettingsKey(app);
    switch (event) {
    case plat::DialogEvent::Init: {
        plat::SettingsValue value;
        if (!store || !store->KeyExists(key) || !store->QueryValue(key, "DemoJumpTime", value))
            break;
        // The stored text may be long or lack its terminator.
        const size_t limit = std::min(value.data.size(), kMaxStoredJumpText);
        const auto end = std::find(value.data.begin(), value.data.begin() + long(limit), uint8_t(0));
        dialog.SetText(kJumpTimeEdit, std::string(value.data.begin(), end));
        dialog.SelectAllText(kJumpTimeEdit);
        break;
    }
    case plat::DialogEvent::Command:
        if (code != 0)
            break;
        if (control == plat::DIALOG_IDOK) {
            const std::string text = dialog.GetText(kJumpTimeEdit, kMaxTypedJumpText);
            // Offered again next time; a key that cannot be opened only skips that.
            if (store && store->KeyExists(key))
                store->SetValue(key, "DemoJumpTime", plat::REG_SZ, text.c_str(), uint32_t(text.size() + 1));
            app.mPlaybackJumpTarget = JumpTimeTarget(app, text);
        }
        dialog.End(0);
        break;
    case plat::DialogEvent::Close:
        dialog.End(0);
        break;
    }
}

plat::DialogTemplate PlaybackDialog(const char* title, int height)
{
    plat::DialogTemplate t;
    t.title = title;
    t.x = 10;
    t.y = 10;
    t.width = 200;
    t.height = height;
    t.fontName = "Tahoma";
    t.pointSize = 8;
    return t;
}

plat::DialogControl Control(plat::DialogControl::Kind kind, int id, const char* text, int x, int y, int width,
                            int height)
{
    plat::DialogControl c;
    c.kind = kind;
    c.id = id;
    c.text = text;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    return c;
}

} // namespace

void ZelkAppBase::HandlePlaybackInput(const plat::WindowMessage& msg)
{
    if (msg.message == plat::WM_KEYDOWN)
        OnDebugKey(int(msg.wParam));
    else if (msg.message == plat::WM_CHAR)
        PlaybackKey(int(msg.wParam & 0xFFFF));
}

void ZelkAppBase::PlaybackKey(int c)
{
    static const int32_t kSecondsBeforeEnd[] = {120000, 90000, 60000, 30000, 10000, 5000}; // "4" to "9"
    switch (c) {
    case '+':
        mUpdateMultiplier = std::min(mUpdateMultiplier * 1.5, kMaxPlaybackSpeed);
        break;
    case '-':
        mUpdateMultiplier = mUpdateMultiplier * 2.0 / 3.0;
        break;
    case '=':
        mUpdateMultiplier = 1.0;
        break;
    case 'P':
    case 'p':
        mPlaybackPause = !mPlaybackPause;
        mPendingMs = 0.0;
        mLastClockTime = plat::TimeGetTime();
        break;
    case 'N':
    case 'n':
        mPlaybackJumpTarget = ClampUpdate(int64_t(mUpdateCount) + 1);
        mPlaybackStep = true;
        break;
    case 'M':
    case 'm':
        mPlaybackRunToEnd = true;
        break;
    case 'L':
    case 'l':
        ShowMarkerList();
        break;
    case 'J':
    case 'j':
        ShowJumpToTime();
        break;
    case 'S':
    case 's':
        ToggleSound();
        break;
    case '0':
        mPlaybackJumpTarget = mDemoRecordedEnd;
        break;
    default:
        if (c >= '4' && c <= '9')
            mPlaybackJumpTarget = UpdateBeforeEnd(*this, kSecondsBeforeEnd[c - '4']);
        break;
    }
}

bool ZelkAppBase::FastForwardDemo(double stepFraction)
{
    if (!mMutedForFastPlayback && !mPlaybackStep) {
        mMutedForFastPlayback = true;
        Mute(true);
    }
    if (!gFastDrawTimeSet) {
        gFastDrawTimeSet = true;
        gLastFastDrawTime = plat::GetTickCount();
    }
    while (mUpdateCount < mPlaybackJumpTarget || mPlaybackRunToEnd) {
        mPendingMs = 0.0;
        mLastClockTime = plat::TimeGetTime();
        const int32_t before = mUpdateCount;
        if (UpdateOnce())
            RunFractionUpdates(stepFraction);
        // The demo holds the update: the next step replays its records and
        // comes back here.
        if (mUpdateCount == before) {
            mLoopState = 3;
            return true;
        }
        const uint32_t now = plat::GetTickCount();
        if (now - gLastFastDrawTime >= 1000 || mPlaybackStep) {
            mPlaybackStep = false;
            gLastFastDrawTime = now;
            mLoopState = 3;
            Draw();
            return true;
        }
    }
    if (mMutedForFastPlayback) {
        mMutedForFastPlayback = false;
        if (mSoundManager)
            mSoundManager->StopAllSounds();
        Unmute(true);
    }
    return false;
}

int ZelkAppBase::ShowMarkerList()
{
    plat::ModalDialogHost* host = plat::Get().dialogs;
    if (!host)
        return -1;
    plat::DialogTemplate t = PlaybackDialog("Marker List", 200);
    t.controls.push_back(Control(plat::DialogControl::Kind::ListBox, kMarkerListBox, "", 5, 5, 190, 195));
    return host->Run(mMainWindow, t, [this](plat::DialogWindow& d, plat::DialogEvent e, int control, int code) {
        MarkerListProc(*this, d, e, control, code);
    });
}

int ZelkAppBase::ShowJumpToTime()
{
    plat::ModalDialogHost* host = plat::Get().dialogs;
    if (!host)
        return -1;
    plat::DialogTemplate t = PlaybackDialog("Jump To Time", 50);
    t.controls.push_back(Control(plat::DialogControl::Kind::Edit, kJumpTimeEdit, "", 5, 5, 190, 15));
    t.controls.push_back(Control(plat::DialogControl::Kind::Button, plat::DIALOG_IDOK, "Ok", 30, 25, 60, 15));
    t.controls.back().defaultButton = true;
    t.controls.push_back(Control(plat::DialogControl::Kind::Button, plat::DIALOG_IDCANCEL, "Cancel", 100, 25, 60, 15));
    return host->Run(mMainWindow, t, [this](plat::DialogWindow& d, plat::DialogEvent e, int control, int code) {
        JumpToTimeProc(*this, d, e, control, code);
    });
}

} // namespace Zelk
