// The command line, and demo recording and playback: the record stream, the
// recording of queued messages, the replay of input records between updates,
// the hooks that record or replay values from outside, and the update gate.
#include "framework/app/CommandLineOptions.h"
#include "framework/app/DemoFile.h"
#include "framework/app/DemoRecordStream.h"
#include "framework/app/MersenneTwister.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/app/ExitCodes.h"
#include "platform/settings/SettingsStore.h"
#include "platform/window/InputTranslator.h"
#include "platform/window/WindowMessages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Zelk {

namespace {

// Record commands. Short records have a one-bit command, long ones five bits.
enum : int {
    kShortMouseMove = 0, // dx, dy: 6 bits signed each
    kShortMouseButton = 1, // down: 1 bit, click code: 3 bits signed
    kMouseMoveTo = 0,    // x, y: 12 bits each
    kActivate = 1,
    kSize = 2,
    kKeyDown = 3,
    kKeyUp = 4,
    kChar = 5,
    kClose = 6,
    kMouseEnter = 7,
    kMouseLeave = 8,
    kLoadingComplete = 9,
    kRegistryRead = 11,
    kRegistryWrite = 12,
    kReadFile = 15,
    kHttpStatus = 17,
    kSyncBuffer = 18,
    kMouseWheel = 21,
    kScreenMode = 23,
    kPadding = 31,
};

// The most updates one header can step over; longer gaps get padding records.
constexpr int32_t kMaxDelta = 15;
// No record is shorter: fewer bits left are the fill of the last byte.
constexpr int32_t kShortestRecordBits = 10;

// Records that the hook that wrote them reads back, at the same point of the run.
bool IsHookRecord(bool isShort, int command)
{
    return !isShort && (command == kRegistryRead || command == kRegistryWrite || command == kReadFile ||
                        command == kHttpStatus || command == kSyncBuffer);
}

int16_t LowWord(intptr_t v) { return int16_t(uint16_t(uintptr_t(v) & 0xFFFF)); }
int16_t HighWord(intptr_t v) { return int16_t(uint16_t((uintptr_t(v) >> 16) & 0xFFFF)); }

// The test crash of "-crash": a write through a null pointer, for the crash
// catcher. Deliberate, so the undefined-behaviour checker leaves it alone.
#if defined(__clang__)
__attribute__((noinline, no_sanitize("undefined")))
#else
__attribute__((noinline, no_sanitize_undefined))
#endif
void RaiseTestCrash()
{
    volatile char* volatile target = nullptr;
    *target = 0;
}

// The application's stream as the framework's other hooks (the HTTP
// transfer's status) see it.
class AppDemoStream : public DemoRecordStream {
public:
    explicit AppDemoStream(ZelkAppBase& app) : mApp(app) {}
    bool IsRecordingDemo() override { return mApp.mRecordingDemo; }
    bool IsPlayingDemo() override { return mApp.mPlayingDemo; }
    void BeginLongRecord(int command) override { mApp.BeginDemoRecord(false, command); }
    bool PendingRecord(bool& isShort, int& command) override
    {
        if (mApp.DemoStreamAtEnd())
            return false;
        const bool due = mApp.ReadRecordHeader();
        isShort = mApp.mDemoPendingShort;
        command = mApp.mDemoPendingCommand;
        return due;
    }
    void ConsumeRecord() override { mApp.mDemoNeedHeader = true; }
    Buffer& DemoBuffer() override { return mApp.mDemoBuffer; }

private:
    ZelkAppBase& mApp;
};

} // namespace

// ---- the command line ----

void ZelkAppBase::ParseCommandLine(const std::string& commandLine)
{
    std::string args;
    if (CommandLineOptions::ArgumentText(commandLine, args))
        HandleCommandLine(args);
    mSkipCommandLine = true; // parsed: Init does not parse it again
}

void ZelkAppBase::HandleSwitches(const std::string& args)
{
    for (const CommandLineOptions::Switch& s : CommandLineOptions::SplitArguments(args))
        HandleSwitch(s.name, s.value);
}

bool ZelkAppBase::HandleSwitch(const std::string& name, const std::string& value)
{
    CommandLineOptions options;
    options.recording = mRecordingDemo;
    options.playingBack = mPlayingDemo;
    options.screenSaverMode = mScreenSaverMode;
    options.demoBaseName = mDemoBaseName;
    options.demoFileName = mDemoFileName;
    options.programFolder = mProgramFolder;
    switch (options.HandleSwitch(name, value)) {
    case CommandLineOptions::SwitchResult::Crash:
        RaiseTestCrash();
        return true;
    case CommandLineOptions::SwitchResult::Invalid:
        FatalErrorW(GetString("INVALID_COMMANDLINE_PARAM", ToWString(CommandLineOptions::kInvalidParameterText)) +
                    ToWString(name));
        ExitNow(plat::kExitBadSwitch);
    case CommandLineOptions::SwitchResult::Handled:
        break;
    }
    mRecordingDemo = options.recording;
    mPlayingDemo = options.playingBack;
    mScreenSaverMode = options.screenSaverMode;
    mDemoFileName = options.demoFileName;
    mProgramFolder = options.programFolder;
    return true;
}

// ---- the demo file ----

bool ZelkAppBase::LoadDemo(std::string& error)
{
    DemoFile file;
    if (!file.Load(mDemoFileName, mProductVersion, error))
        return false;
    mTimeLoaded = file.seed;
    SeedRandom(mTimeLoaded);
    mDemoMarkers = file.markers;
    mDemoRecordedEnd = file.recordedEnd;
    mDemoBuffer = file.stream;
    mDemoBuffer.SeekFront();
    mLastDemoUpdate = 0;
    mDemoNeedHeader = true;
    mDemoMouseX = 0;
    mDemoMouseY = 0;
    mDemoLoadingCompleteSeen = false;
    return true;
}

void ZelkAppBase::WriteDemoFile()
{
    if (!mRecordingDemo)
        return;
    DemoFile file;
    file.seed = mTimeLoaded;
    file.productVersion = mProductVersion;
    file.markers = mDemoMarkers;
    file.recordedEnd = mUpdateCount;
    file.stream = mDemoBuffer;
    std::string why;
    if (!file.Save(mDemoFileName, &why)) {
        // A recording that is lost is said where a person and a developer look.
        const std::string text = "The demo could not be saved to " + mDemoFileName + ": " + why + "\n";
        fputs(text.c_str(), stderr);
        DebugPrint("%s", text.c_str());
    }
}

// ---- the record stream ----

void ZelkAppBase::WriteRecordHeader()
{
    while (mUpdateCount - mLastDemoUpdate > kMaxDelta) {
        mDemoBuffer.WriteBits(kMaxDelta, 4);
        mLastDemoUpdate += kMaxDelta;
        mDemoBuffer.WriteBits(0, 1);
        mDemoBuffer.WriteBits(kPadding, 5);
    }
    mDemoBuffer.WriteBits(uint32_t(mUpdateCount - mLastDemoUpdate), 4);
    mLastDemoUpdate = mUpdateCount;
}

void ZelkAppBase::BeginDemoRecord(bool isShort, int command)
{
    WriteRecordHeader();
    mDemoBuffer.WriteBits(isShort ? 1 : 0, 1);
    mDemoBuffer.WriteBits(uint32_t(command), isShort ? 1 : 5);
}

bool ZelkAppBase::ReadRecordHeader()
{
    if (mDemoNeedHeader) {
        if (DemoStreamAtEnd())
            return false;
        mLastDemoUpdate += mDemoBuffer.ReadBits(4, false);
        mDemoPendingShort = mDemoBuffer.ReadBits(1, false) == 1;
        mDemoPendingCommand = mDemoBuffer.ReadBits(mDemoPendingShort ? 1 : 5, false);
        mDemoNeedHeader = false;
    }
    return mUpdateCount == mLastDemoUpdate;
}

bool ZelkAppBase::DemoStreamAtEnd() const
{
    return mDemoNeedHeader && int64_t(mDemoBuffer.GetBitSize()) - mDemoBuffer.GetReadPos() < kShortestRecordBits;
}

bool ZelkAppBase::TakeDemoHookRecord()
{
    if (DemoStreamAtEnd())
        return false;
    ReadRecordHeader();
    mDemoNeedHeader = true;
    return true;
}

void ZelkAppBase::EndDemoStream()
{
    DebugPrint("Demo out of step at update %d: playback ends here\r\n", mUpdateCount);
    mDemoBuffer.SetReadPos(mDemoBuffer.GetBitSize());
    mDemoNeedHeader = true;
}

std::vector<uint8_t> ZelkAppBase::ReadDemoBytes(uint32_t count)
{
    // A damaged length must not make a huge block: take no more than is there.
    const int64_t left = std::max<int64_t>(0, int64_t(mDemoBuffer.GetBitSize()) - mDemoBuffer.GetReadPos()) / 8;
    std::vector<uint8_t> bytes(size_t(std::min<int64_t>(count, left)));
    if (!bytes.empty())
        mDemoBuffer.ReadBytes(bytes.data(), int(bytes.size()));
    return bytes;
}

void ZelkAppBase::ConnectDemoStream()
{
    mDemoStreamLink = std::make_unique<AppDemoStream>(*this);
    gDemoStream = mDemoStreamLink.get();
}

void ZelkAppBase::DisconnectDemoStream()
{
    if (gDemoStream == mDemoStreamLink.get())
        gDemoStream = nullptr;
    mDemoStreamLink.reset();
}

// ---- recording ----

void ZelkAppBase::RecordQueuedMessage(const plat::WindowMessage& msg)
{
    Buffer& b = mDemoBuffer;
    const uint32_t m = msg.message;
    switch (m) {
    case plat::WM_ACTIVATEAPP:
        BeginDemoRecord(false, kActivate);
        b.WriteBits(msg.wParam != 0 ? 1 : 0, 1);
        return;
    case plat::WM_SIZE:
        BeginDemoRecord(false, kSize);
        b.WriteBool(msg.wParam == plat::SIZE_MINIMIZED);
        return;
    case plat::WM_CLOSE:
        BeginDemoRecord(false, kClose);
        return;
    case plat::WM_KEYDOWN:
    case plat::WM_SYSKEYDOWN:
    case plat::WM_KEYUP:
    case plat::WM_SYSKEYUP:
        BeginDemoRecord(false, m == plat::WM_KEYDOWN || m == plat::WM_SYSKEYDOWN ? kKeyDown : kKeyUp);
        b.WriteBits(uint32_t(msg.wParam & 0xFF), 8);
        return;
    case plat::WM_CHAR:
        BeginDemoRecord(false, kChar);
        b.WriteBits(1, 1); // a 16-bit character
        b.WriteBits(uint32_t(msg.wParam & 0xFFFF), 16);
        return;
    case plat::WM_MOUSEWHEEL: {
        // Steps beyond the 8-bit field are held at its ends, not wrapped.
        const int steps = std::clamp(HighWord(intptr_t(msg.wParam)) / 120, -128, 127);
        BeginDemoRecord(false, kMouseWheel);
        b.WriteBits(uint32_t(steps) & 0xFF, 8);
        return;
    }
    default:
        break;
    }
    if (m < plat::WM_MOUSEMOVE || m > plat::WM_MBUTTONUP)
        return;

    // Raw client positions, before the widget manager remaps them.
    const int x = LowWord(msg.lParam), y = HighWord(msg.lParam);
    const int dx = x - mDemoMouseX, dy = y - mDemoMouseY;
    if (std::abs(dx) < 32 && std::abs(dy) < 32) {
        if (dx != 0 || dy != 0) {
            BeginDemoRecord(true, kShortMouseMove);
            b.WriteBits(uint32_t(dx) & 0x3F, 6);
            b.WriteBits(uint32_t(dy) & 0x3F, 6);
        }
        mDemoMouseX = x;
        mDemoMouseY = y;
    } else {
        BeginDemoRecord(false, kMouseMoveTo);
        b.WriteBits(uint32_t(x) & 0xFFF, 12);
        b.WriteBits(uint32_t(y) & 0xFFF, 12);
        // A replay knows only these 12 bits: the next moves are measured from
        // there, so it rebuilds them exactly.
        mDemoMouseX = x & 0xFFF;
        mDemoMouseY = y & 0xFFF;
    }

    static const struct {
        uint32_t message;
        int clickCode;
        bool down;
    } kButtons[] = {
        {plat::WM_LBUTTONDOWN, 1, true},   {plat::WM_LBUTTONUP, 1, false},    {plat::WM_LBUTTONDBLCLK, 2, true},
        {plat::WM_RBUTTONDOWN, -1, true},  {plat::WM_RBUTTONUP, -1, false},   {plat::WM_RBUTTONDBLCLK, -2, true},
        {plat::WM_MBUTTONDOWN, 3, true},   {plat::WM_MBUTTONUP, 3, false},
    };
    for (const auto& button : kButtons) {
        if (button.message != m)
            continue;
        BeginDemoRecord(true, kShortMouseButton);
        b.WriteBits(button.down ? 1 : 0, 1);
        b.WriteBits(uint32_t(button.clickCode) & 7, 3);
    }
}

void ZelkAppBase::RecordMouseInWindow(bool inside) { BeginDemoRecord(false, inside ? kMouseEnter : kMouseLeave); }

void ZelkAppBase::RecordRefreshRate()
{
    BeginDemoRecord(false, kScreenMode);
    mDemoBuffer.WriteBool(mWindowedWanted);
    mDemoBuffer.WriteByte(uint8_t(mRefreshRate));
}

// ---- playback ----

void ZelkAppBase::RunDemoEvents()
{
    if (!mPlayingDemo || mShuttingDown)
        return;
    Buffer& b = mDemoBuffer;
    while (mUpdateCount == mLastDemoUpdate && !DemoStreamAtEnd()) {
        if (!ReadRecordHeader())
            break;
        // A hook's record waits for its hook: the loading completion calls its
        // hooks only after the completion itself has been replayed.
        if (IsHookRecord(mDemoPendingShort, mDemoPendingCommand))
            break;
        mDemoNeedHeader = true;

        if (mDemoPendingShort) {
            if (mDemoPendingCommand == kShortMouseMove) {
                mDemoMouseX = mDemoMouseX + b.ReadBits(6, true);
                mDemoMouseY = mDemoMouseY + b.ReadBits(6, true);
                mWidgetManager->MouseMove(mDemoMouseX, mDemoMouseY);
            } else {
                const bool down = b.ReadBits(1, false) != 0;
                const int clickCode = b.ReadBits(3, true);
                if (down)
                    mWidgetManager->MouseDown(mDemoMouseX, mDemoMouseY, clickCode);
                else
                    mWidgetManager->MouseUp(mDemoMouseX, mDemoMouseY, clickCode);
            }
        } else {
            switch (mDemoPendingCommand) {
            case kMouseMoveTo:
                mDemoMouseX = b.ReadBits(12, false);
                mDemoMouseY = b.ReadBits(12, false);
                mWidgetManager->MouseMove(mDemoMouseX, mDemoMouseY);
                break;
            case kActivate:
                mActive = b.ReadBits(1, false) != 0;
                ApplyActivation();
                break;
            case kSize: {
                const bool minimized = b.ReadBool();
                if (!mShuttingDown && minimized != mMinimized) {
                    mMinimized = minimized;
                    if (minimized) {
                        Mute(true);
                    } else {
                        Unmute(true);
                        mWidgetManager->MarkAllDirty();
                    }
                }
                UpdateFocusState();
                break;
            }
            case kKeyDown:
                mWidgetManager->KeyDown(b.ReadBits(8, false));
                break;
            case kKeyUp:
                mWidgetManager->KeyUp(b.ReadBits(8, false));
                break;
            case kChar: {
                const int wide = b.ReadBits(1, false);
                mWidgetManager->KeyChar(wchar_t(b.ReadBits((wide + 1) * 8, false)));
                break;
            }
            case kClose:
                Shutdown();
                break;
            case kMouseEnter:
                mMouseIn = true;
                UpdateCursor();
                break;
            case kMouseLeave:
                mWidgetManager->MouseExit();
                mMouseIn = false;
                UpdateCursor();
                break;
            case kLoadingComplete:
                mDemoLoadingCompleteSeen = true;
                break;
            case kMouseWheel:
                mWidgetManager->MouseWheel(b.ReadBits(8, true));
                break;
            case kScreenMode:
                mWindowedWanted = b.ReadBool();
                mRefreshRate = b.ReadByte();
                break;
            default: // padding, and numbers no record uses
                break;
            }
        }
        if (mShuttingDown)
            break;
    }
}

bool ZelkAppBase::DemoUpdateAllowed()
{
    // The loading completion runs where the recording run had it; after the
    // end of the stream nothing will report it, so it runs when it is ready.
    if (mLoadingFinished.load(std::memory_order_acquire) && !mLoadingCompleteHandled &&
        (mDemoLoadingCompleteSeen || DemoStreamAtEnd()))
        CompleteLoading();
    // The recording run had finished loading here: wait for this run's loading.
    if (mDemoLoadingCompleteSeen && !mLoadingCompleteHandled && mLoadingStarted)
        return false;
    // A hook's record that was due and that no hook took: the program no
    // longer follows the demo, and waiting for the hook would stop it for good.
    if (!mDemoNeedHeader && mUpdateCount == mLastDemoUpdate && IsHookRecord(mDemoPendingShort, mDemoPendingCommand))
        EndDemoStream();
    // A record due now is replayed first.
    return !(mUpdateCount == mLastDemoUpdate && !DemoStreamAtEnd());
}

// ---- hooks ----

void ZelkAppBase::RecordRegistryRead(const plat::SettingsValue* value)
{
    BeginDemoRecord(false, kRegistryRead);
    mDemoBuffer.WriteBits(value ? 1 : 0, 1);
    if (!value)
        return;
    mDemoBuffer.WriteLong(int32_t(value->type));
    mDemoBuffer.WriteLong(int32_t(value->data.size()));
    if (!value->data.empty())
        mDemoBuffer.WriteBytes(value->data.data(), int(value->data.size()));
}

bool ZelkAppBase::ReplayRegistryRead(plat::SettingsValue& value)
{
    if (mDemoCloseSeen || !TakeDemoHookRecord() || mDemoBuffer.ReadBits(1, false) == 0)
        return false;
    value.type = uint32_t(mDemoBuffer.ReadLong());
    value.data = ReadDemoBytes(uint32_t(mDemoBuffer.ReadLong()));
    return true;
}

void ZelkAppBase::RecordRegistryWrite(bool success)
{
    BeginDemoRecord(false, kRegistryWrite);
    mDemoBuffer.WriteBits(success ? 1 : 0, 1);
}

bool ZelkAppBase::ReplayRegistryWrite()
{
    if (mDemoCloseSeen)
        return true; // the settings written on the way out of a closed replay
    return TakeDemoHookRecord() && mDemoBuffer.ReadBits(1, false) != 0;
}

void ZelkAppBase::DemoSyncBuffer(Buffer& buffer)
{
    if (mRecordingDemo) {
        BeginDemoRecord(false, kSyncBuffer);
        const int32_t length = buffer.GetDataLen();
        mDemoBuffer.WriteLong(length);
        if (length > 0)
            mDemoBuffer.WriteBytes(buffer.GetDataPtr(), length);
    } else if (mPlayingDemo && !mDemoCloseSeen) {
        std::vector<uint8_t> bytes;
        if (TakeDemoHookRecord())
            bytes = ReadDemoBytes(uint32_t(mDemoBuffer.ReadLong()));
        buffer.Clear();
        buffer.SetData(bytes.data(), bytes.size());
    }
}

void ZelkAppBase::DemoSyncBool(bool& value)
{
    if (!mRecordingDemo && !mPlayingDemo)
        return;
    Buffer b;
    b.WriteBool(value);
    DemoSyncBuffer(b);
    value = b.ReadBool();
}

void ZelkAppBase::DemoSyncString(std::string& text)
{
    if (!mRecordingDemo && !mPlayingDemo)
        return;
    Buffer b;
    b.WriteString(text);
    DemoSyncBuffer(b);
    text = b.ReadString();
}

} // namespace Zelk
