#pragma once
#include "framework/app/Buffer.h"
#include "framework/app/CriticalSection.h"
#include "framework/app/DemoMarker.h"
#include "framework/app/Ratio.h"
#include "framework/graphics/Rect.h"
#include "framework/graphics/SharedImage.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/DialogListener.h"
#include "platform/window/WindowSystem.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace plat {
struct SettingsValue;
}

namespace Zelk {

class DDImage;
class DDInterface;
class DemoRecordStream;
class Dialog;
class Graphics;
class Image;
class MemoryImage;
class MusicInterface;
class ResourceManager;
class SoundManager;
class Widget;
class WidgetManager;

// The application object: one per process, made by the program's entry point
// as an object of the program's own derived class. It owns the windows, the
// display, the widget manager, the sound manager and music interface, the
// resource manager and the main loop with its timing and threads.
//
// A program customises it by overriding the hooks (base versions do nothing)
// and by setting fields between construction and Init.
class ZelkAppBase : public ButtonListener, public DialogListener {
public:
    ZelkAppBase();
    virtual ~ZelkAppBase();

    // ---- the main loop (ZelkAppBaseLoop.cpp) ----
    virtual bool UpdateFrames(bool allowSleep);
    virtual void UpdateWidgets();
    virtual bool UpdateOnce();
    virtual void PassUpdateFraction(float fraction);
    // ---- windows, cursors and images ----
    virtual void MakeWindow();
    virtual void UpdateCursor();
    virtual void ReapplyAllImageReductions();
    virtual void FreeAllNativeImageData();
    virtual void FreeAllImageBuffers();
    // ---- hooks and start-up ----
    virtual void OnLoadingComplete() {}
    virtual MusicInterface* CreateMusicInterface(plat::WindowHandle window);
    virtual void OnInitDone() {}
    virtual void OnShutdown() {}
    virtual void OnMainLoopEnd() {}
    virtual void LoadContent() {}
    virtual void SaveSettings();
    virtual void LoadSettings();
    virtual Dialog* NewDialog(int dialogId, bool isModal, const std::wstring& header,
                              const std::wstring& lines, const std::wstring& footer, int buttonMode);
    virtual void OnBeforeWindow() {}
    virtual bool BeginPopup();
    virtual void ReleaseInput();
    virtual int MsgBoxW(const std::wstring& text, const std::wstring& caption, uint32_t flags);
    virtual int MsgBox(const std::string& text, const std::string& caption, uint32_t flags);
    virtual void FatalErrorW(const std::wstring& text);
    virtual void FatalError(const std::string& text);
    virtual void LogScreenError(const std::string& text);
    virtual void SafeDeleteWidget(Widget* widget);
    virtual void OnUrlOpenFailed(const std::string& url);
    virtual void OnUrlOpened(const std::string& url);
    virtual bool OpenUrl(const std::string& url, bool quitAfter);
    virtual std::string GetProductVersion(const std::string& path);
    virtual void OnCrash();
    virtual std::string GetCrashReportInfo();
    // After the crash text is out: a demo being recorded is saved as far as it got.
    void OnCrashReported();
    virtual void GetCrashReportFields(std::map<std::string, std::string>& fields) {}
    virtual void Shutdown();
    virtual void ParseCommandLine(const std::string& commandLine);
    virtual void HandleCommandLine(const std::string& args) {}
    virtual bool HandleSwitch(const std::string& name, const std::string& value);
    virtual void OnInstanceNotify(uintptr_t first, intptr_t second);
    virtual bool OnAlreadyRunning();
    virtual void Start();
    virtual void Init();
    virtual void OnBeforeDisplayInit() {}
    virtual void OnDisplayInit() {}
    virtual bool OnSetWorkingFolder(const std::string& folder) { return false; }
    // ---- volumes and sounds (ZelkAppBaseServices.cpp) ----
    virtual bool PlaySoundPanned(int id, int pan);
    virtual bool PlaySoundById(int id);
    virtual double GetMasterVolume();
    virtual double GetMusicVolume();
    virtual double GetSfxVolume();
    virtual bool IsMuted();
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);
    virtual double GetLoadingProgress();
    // A new surface image of the decoded file (null when it cannot be
    // decoded); the caller owns it.
    virtual DDImage* GetImage(const std::string& fileName, bool commitBits);
    // The image shared under the file name and variant (letter case does not
    // matter); a name beginning with "!" gives an empty image to fill in.
    virtual SharedImageRef GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew);
    // ---- screen modes ----
    virtual void SwitchScreenMode(bool wantWindowed, bool is3D, bool force);
    virtual void SetWindowedMode(bool windowed);
    virtual void RecreateWindowMode();
    virtual void SetScreenImageInVideoMemory(bool inVideoMemory);
    // ---- the dialog registry (ZelkAppBaseDialogs.cpp) ----
    virtual Dialog* OpenDialog(int dialogId, bool isModal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode);
    virtual Dialog* FindDialog(int dialogId);
    virtual void RegisterDialog(Dialog* dialog);
    virtual void RegisterDialogId(int dialogId, Dialog* dialog);
    virtual bool CloseDialog(Dialog* dialog);
    virtual bool CloseDialogById(int dialogId);
    virtual bool DetachDialog(int dialogId, bool removeWidget, bool deleteIt);
    // Dialog buttons become the application's own button events: yes as
    // dialog id + 2000, no as dialog id + 3000.
    void OnDialogButtonPress(int dialogId, int buttonId) override;
    void OnDialogButtonClick(int dialogId, int buttonId) override;
    virtual int GetDialogCount();
    virtual void OnModalDialogOpened() {}
    virtual void OnModalDialogClosed() {}
    // ---- focus, keys and closing ----
    virtual void OnGotFocus() {}
    virtual void OnLostFocus() {}
    virtual bool OnSysChar(int c);
    virtual bool OnDebugKey(int key);
    virtual bool OnKeyHook(int key, bool ctrlDown, bool altDown) { return false; }
    virtual void OnCloseRequest();
    virtual void OnNew3DTestResult() {}
    virtual std::string GetExtraText() { return std::string(); }
    virtual bool ExtraQuery(int a, int b) { return false; }
    // ---- one frame ----
    virtual bool Draw();
    virtual void PresentFrame(const void* dirtyRect);
    virtual void OnBeforeInit() {}
    virtual void RunMainLoop();
    virtual bool AppStep(bool* updated);
    virtual bool StepUntilUpdate();
    virtual bool IsEnabled();
    virtual void DrawOverlay(Graphics* g) {}

    // ---- non-virtual operations ----
    // Debug tools (ZelkAppBaseDebug.cpp): a PNG of the screen in the data
    // folder's "_screenshots", every image in memory in "_dump" with
    // "imagelist.html", and the video-memory report.
    void TakeScreenshot();
    void DumpImages();
    void ShowVideoStats();
    bool RegistryWrite(const std::string& valueName, uint32_t type, const void* data, uint32_t size);
    bool WriteRegistryString(const std::string& valueName, const std::string& text);
    bool RegistryRead(const std::string& valueName, uint32_t* type, void* data, uint32_t* size);
    bool RegistryReadInteger(const std::string& valueName, int32_t* value);
    bool RegistryReadBoolean(const std::string& valueName, bool* value);
    void RegistryEraseValue(const std::wstring& valueName);
    [[noreturn]] void ExitNow(int exitCode);
    void ShowResourceError(bool exit);
    void LoadResourceManifest();
    bool Is3DAccelerated();
    std::wstring GetString(const std::string& id, const std::wstring& defaultText);
    void SetString(const std::string& id, const std::wstring& text);
    void ToggleSound();
    // Copies of an image (or of a part) as new surface images the caller owns.
    DDImage* CopyImageRect(Image* image, const Rect& rect);
    DDImage* CopyImage(Image* image);
    // The clipboard's text, Latin-1 (characters beyond it become "?").
    void CopyToClipboard(const std::string& text);
    std::string GetClipboardText();
    void AddMemoryImage(MemoryImage* image);
    void RemoveMemoryImage(MemoryImage* image);
    void FreeQueuedWidgets();
    void AdvanceClock();
    // A decision that cannot update: draw (so the screen follows input) and
    // sleep one update period; false when sleeping is not allowed.
    bool DrawAndRest(bool allowSleep);
    void StartLoadingThread();
    void WaitForLoadingThread();
    bool DispatchQueuedMessage(bool onlyOne);
    void UpdateFocusState();
    void ClearKeyState();
    void SetCursor(int kind);
    void SetCursorImage(int kind, Image* image);
    void SetCustomCursors(bool on);
    void CursorThreadProc();
    // Reads the pending window messages (the platform's queue) into the
    // application's message queue.
    void PumpWindowMessages();
    intptr_t WindowProc(plat::WindowHandle window, const plat::WindowMessage& msg);
    // Screen modes and the display (ZelkAppBaseWindow.cpp).
    int InitDisplay();
    void Set3DMode(bool use3D, bool reinitialise);
    void ReadRefreshRate();
    // After a failed present: tries to get the display back.
    void RecoverLostDisplay();
    // A lock only for the application's own sets when no display exists yet.
    CriticalSection* DisplayLock();
    // A whole file into the buffer (through the archive layer when one is
    // published). While a demo is recorded or played back the result is
    // recorded or replayed, unless noDemo is set.
    bool ReadBufferFromFile(const std::string& path, Buffer& buffer, bool noDemo);

    // ---- command line and demos (ZelkAppBaseDemo.cpp) ----
    // Splits argument text into switches and their values and hands each to
    // HandleSwitch. The base HandleCommandLine does not call it: a program that
    // takes the switches calls it from its own HandleCommandLine.
    void HandleSwitches(const std::string& args);
    // Opens the demo file for playback: seed, markers, recorded end, stream.
    bool LoadDemo(std::string& error);
    // Writes the demo file at the end of a recording run.
    void WriteDemoFile();
    // The header of a new record at the current update count, after the
    // padding records a gap of more than 15 updates needs.
    void WriteRecordHeader();
    // Reads the next record header when none is pending; whether the pending
    // record is due at the current update count.
    bool ReadRecordHeader();
    // Recording: a record header, its short flag and its command.
    void BeginDemoRecord(bool isShort, int command);
    // Replays the input records due at the current update count.
    void RunDemoEvents();
    // Playback: no record is pending and too few bits are left for another.
    bool DemoStreamAtEnd() const;
    // Values from outside that a demo must reproduce: recorded while
    // recording, replaced by the recorded ones while playing back, passed on
    // unchanged otherwise.
    void DemoSyncBuffer(Buffer& buffer);
    void DemoSyncBool(bool& value);
    void DemoSyncString(std::string& text);

    // ---- demo playback controls (ZelkAppBasePlayback.cpp) ----
    // A character typed while a demo plays back: speed, pause, single step,
    // jumps, the two dialogs and the sound.
    void PlaybackKey(int c);
    // The dialogs: -1 when they cannot be shown, else their result (0).
    int ShowMarkerList();
    int ShowJumpToTime();

    // ---- identity and folders ----
    uint32_t mTimeLoaded = 0;
    std::string mDisplayName;
    std::string mCompanyFolder;
    std::string mProdName = "Product";
    std::wstring mTitle = L"ZelkApp";
    std::string mRegKey;
    std::string mProgramFolder;
    int32_t mHoldTime = 0;
    int32_t mPreferredX = -1;
    int32_t mPreferredY = -1;
    int32_t mWidth = 800;
    int32_t mHeight = 600;
    int32_t mColorDepth = 32;
    double mMusicVolume = 0.85;
    double mSfxVolume = 0.85;
    double mSavedMusicVolume = 0.0;
    double mSavedSfxVolume = 0.0;
    bool mSoundOff = false;
    bool mUseFMODMusic = false;
    bool mSkipCommandLine = false;
    bool mWideCharInput = true;
    bool mSingleInstanceWanted = true;
    bool mHoldsInstance = false;
    uint32_t mNotifyMessage = 0;
    uint8_t mSaturationTable[512];
    WidgetManager* mWidgetManager = nullptr;
    std::map<int, Dialog*> mDialogMap;
    std::list<Dialog*> mDialogList;
    std::atomic<std::thread::id> mMainThreadId{};
    uint32_t mPrimaryThreadId = 0; // the system's id of the thread that ran Init (crash report)
    std::string mCommandLine;

    // ---- run state ----
    std::atomic<bool> mCrashed{false};
    std::atomic<bool> mShuttingDown{false};
    bool mStopStepping = false;
    bool mWindowedWanted = true;
    bool mWindowed = true;
    bool mChangeDesktopMode = false;
    bool mFullScreenForced = false;
    bool mWindowedForced = false;
    bool mInitialized = false;
    uint32_t mConstructionTick = 0;
    std::atomic<plat::WindowHandle> mMainWindow{0};
    plat::WindowHandle mInvisWindow = 0;
    bool mScreenSaverMode = false;
    bool mAllowMonitorPowerOff = true;
    std::list<plat::WindowMessage> mMessageQueue;
    bool mGDISurfaceShown = false;
    bool mPageFlippingAllowed = true;
    bool mTabletPC = false;
    std::atomic<DDInterface*> mDDInterface{nullptr};
    bool mScreenImageInVideoMemory = false;
    MusicInterface* mMusicInterface = nullptr;
    bool mSettingsLoaded = false;
    std::string mProductVersion;
    Image* mCursorImages[13] = {};
    bool mUrlPending = false;
    bool mQuitAfterUrl = false;
    std::string mPendingUrl;
    uint32_t mUrlRequestTick = 0;
    uint32_t mLastTimerTick = 0;
    uint32_t mTimerResumeTick = 0;
    int32_t mMuteCount = 0;
    int32_t mAutoMuteCount = 0;
    bool mMutedForFastPlayback = false;
    bool mMuteOnLostFocus = true;
    std::set<MemoryImage*> mMemoryImageSet;
    bool mSharedImagePurgeWanted = false;

    // Shared images by upper-cased file name and variant.
    typedef std::map<std::pair<std::string, std::string>, SharedImage> SharedImageMap;
    SharedImageMap mSharedImageMap;
    // Deletes the images of the records no handle uses, when a handle asked for
    // it since the last purge.
    void PurgeSharedImages();
    // Drops the image's renderer textures (none until the renderer exists).
    void RemoveImageTextures(MemoryImage* image);

    // ---- timing (the main loop) ----
    int32_t mUpdatesSinceDraw = 0;
    int32_t mUpdatePeriod = 10;
    bool mDrawing = false;
    bool mDrawSkipped = false;
    bool mUpdatedSinceDraw = true;
    double mFractionAccumulator = 0.0;
    double mPendingMs = 0.0;
    uint32_t mLastClockTime = 0;
    uint32_t mLastInputTime = 0;
    int32_t mSleepCount = 0;
    std::atomic<int32_t> mDrawCount{0};
    int32_t mUpdateCount = 0;
    int32_t mLoopState = 0;
    int32_t mStepDepth = 0;
    double mUpdateMultiplier = 1.0;
    bool mPlaybackPause = false;
    int32_t mPlaybackJumpTarget = 0;
    bool mPlaybackRunToEnd = false;
    bool mPlaybackStep = false;
    uint32_t mLastPresentTime = 0;
    std::atomic<uint32_t> mNextDrawTime{0};
    int32_t mDebugPauseState = 0;
    uint32_t mLastIdleCheckTime = 0;

    int32_t mCursorKind = 0;
    plat::CursorHandle mHandCursor = 0;
    plat::CursorHandle mDraggingCursor = 0;
    plat::CursorHandle mOverrideCursor = 0;
    SoundManager* mSoundManager = nullptr;
    struct QueuedWidget {
        int32_t depth;
        Widget* widget;
    };
    std::list<QueuedWidget> mDeferredDeletes;

    std::atomic<bool> mMouseIn{false};
    bool mInMainLoop = false;
    bool mActive = false;
    bool mMinimized = false;
    bool mMinimizedBySize = false;
    bool mWindowDisabled = false;
    bool mHasFocus = false;

    // draw statistics
    int32_t mDrawTime = 0;
    int32_t mPresentCount = 0;
    int32_t mWidgetUpdateCount = 0;
    int32_t mFPSTime = 0;
    int32_t mFPSCount = 0;
    bool mShowFPS = false;
    int32_t mShowFPSMode = 0;
    int32_t mScreenBltTime = 0;
    // The overlay's images and font (ZelkAppBaseOverlay.cpp), made on first use.
    class DDImage* mOverlayImage = nullptr;
    class DDImage* mDemoTimeImage = nullptr;
    class Font* mOverlayFont = nullptr;
    void PrepareOverlay();
    void DrawOverlayImages();
    void DeleteOverlay();
    void RedrawOverlayImage(class DDImage*& image, const std::wstring& text);

    // loading and the framework threads
    bool mLoadingThreadWanted = true;
    bool mLoadingStarted = false;
    std::atomic<bool> mLoadingFinished{false};
    bool mLoadingCompleteHandled = false;
    bool mLoadingThreadRunning = false;
    std::atomic<bool> mShutdownRequested{false};
    std::atomic<bool> mCursorThreadRunning{false};
    bool mSysCursor = true;
    bool mCustomCursors = false;
    bool mForcePresent = false;
    bool mLastRunEndedCleanly = true;
    bool mWideWindows = true;
    int32_t mLoadingTotal = 0;
    int32_t mLoadingDone = 0;

    // demos (never used by this program)
    bool mRecordingDemo = false;
    std::atomic<bool> mPlayingDemo{false};
    bool mDemoCloseSeen = false;
    std::string mDemoBaseName = "zelkapp";
    std::string mDemoFileName = "zelkapp.dmo";
    Buffer mDemoBuffer; // the record stream
    // Recording: update count of the last record written. Playback: the
    // update count at which the pending record is due.
    int32_t mLastDemoUpdate = 0;
    bool mDemoNeedHeader = true; // playback: no record header is pending
    bool mDemoPendingShort = false;
    int32_t mDemoPendingCommand = 0;
    // Recording: the mouse position as playback will rebuild it. Playback:
    // the position rebuilt from the records (the cursor thread reads it).
    std::atomic<int32_t> mDemoMouseX{0};
    std::atomic<int32_t> mDemoMouseY{0};
    int32_t mDemoRecordedEnd = 0; // playback: the update count the recording ended at
    bool mDemoLoadingCompleteSeen = false;
    std::vector<DemoMarker> mDemoMarkers;

    bool mDebugKeysEnabled = false;
    bool mMaximizeBox = false;
    bool mCtrlDown = false;
    bool mAltDown = false;
    int32_t mRefreshRate = 100;
    bool mRefreshPacedWanted = false;
    bool mRefreshPacedDropped = false;
    int32_t mFastWindowsInARow = 0;
    uint32_t mLastRateCheck = 0;
    int32_t mUpdatesSinceRateCheck = 0;
    bool mWaitForVSync = false;
    bool mVBlankWaitSuppressed = true;
    bool m3DChangedThisRun = false;
    bool mAuto3D = false;
    bool mRefreshRateAdjusted = false; // the display moved the monitor's rate into 60..100
    uint32_t mLastRestoreAttempt = 0;
    bool mTest3D = true;
    int32_t mMinVidMemory3D = 6;
    int32_t mRecommendedVidMemory3D = 14;
    bool mWidenDrawingArea = false;
    int32_t mScreenX = 0, mScreenY = 0, mScreenWidth = 800, mScreenHeight = 600;
    bool mForceWindowAspect = false;
    Ratio mAspectRatio;
    std::map<std::string, std::wstring> mStringTable;
    ResourceManager* mResourceManager = nullptr;

protected:
    // What a change of the application's activation brings: focus, a full
    // redraw in full screen, and the end of a pending web link.
    void ApplyActivation();
    // The end of resource loading, on the main thread (written to a demo
    // being recorded before the hook runs).
    void CompleteLoading();
    // The further updates an update owes in refresh-paced mode, and the fraction.
    void RunFractionUpdates(double stepFraction);

    // Demo recording and playback (ZelkAppBaseDemo.cpp).
    void ConnectDemoStream();
    void DisconnectDemoStream();
    // Playback: whether an update may run now; runs the loading completion
    // once the demo has replayed it.
    bool DemoUpdateAllowed();
    // Playback: takes the next record for a hook; false at the end of the stream.
    bool TakeDemoHookRecord();
    // Playback: the demo is out of step with the program: it ends here.
    void EndDemoStream();
    // Playback: count recorded bytes, never more than the stream still holds.
    std::vector<uint8_t> ReadDemoBytes(uint32_t count);
    void RecordQueuedMessage(const plat::WindowMessage& msg);
    void RecordMouseInWindow(bool inside);
    void RecordRefreshRate();
    // Registry hooks: a read's value (null: not found) and a write's success.
    void RecordRegistryRead(const plat::SettingsValue* value);
    bool ReplayRegistryRead(plat::SettingsValue& value);
    void RecordRegistryWrite(bool success);
    bool ReplayRegistryWrite();
    // Keys that reach the window while a demo plays back.
    void HandlePlaybackInput(const plat::WindowMessage& msg);
    // The playback fast-forward of the update accounting; false when there is
    // nothing (more) to fast-forward and ordinary updating goes on.
    bool FastForwardDemo(double stepFraction);

    std::unique_ptr<DemoRecordStream> mDemoStreamLink;

    // One of the two questions at exit; the answer (IDYES, IDNO).
    int AskAboutHardwareAcceleration(const char* textId, const wchar_t* defaultText);
    std::string RegistryKeyPath(const std::string& valueName, std::string& name) const;

    std::thread mCursorThread;
    std::thread mLoadingThread;
    CriticalSection mAppLock; // the application's own sets while no display exists
    uint32_t mStartTime = 0;
    bool mDirectDrawPresent = true;
    bool mDirectSoundPresent = true;
};

// Where a captioned window goes: centred at 38.2 % of the free height without
// a remembered position, else the remembered one kept 4 pixels inside the work area.
struct WindowPlacement {
    int x = 0, y = 0;
};
WindowPlacement PlaceWindow(int outerWidth, int outerHeight, int preferredX, int preferredY, int workX, int workY,
                            int workWidth, int workHeight);

extern ZelkAppBase* gAppBase;
extern ZelkAppBase* gCrashApp;
extern std::atomic<bool> gScreenSaverPause;
extern std::atomic<bool> gSurfacesLost;

// The screen-saver idle pause: checked by Draw at most once a second.
void CheckScreenSaverIdle(uint32_t now);
extern uint32_t gScreenSaverThreshold;
extern bool gScreenSaverActive;
extern uint32_t gLastScreenSaverCheck;

} // namespace Zelk
