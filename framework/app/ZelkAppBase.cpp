// The application object: construction, start-up, settings, shutdown and
// destruction. The main loop is in ZelkAppBaseLoop.cpp, the services in
// ZelkAppBaseServices.cpp.
#include "framework/app/ZelkAppBase.h"
#include "framework/app/AppCursors.h"
#include "framework/app/CommandLineOptions.h"
#include "framework/app/CrashCatcherInstaller.h"
#include "framework/app/DebugToolHooks.h"
#include "framework/app/DemoRecordStream.h"
#include "framework/app/DeveloperToolsConnection.h"
#include "framework/app/MersenneTwister.h"
#include "framework/app/PathUtil.h"
#include "framework/app/Random.h"
#include "framework/app/StringUtil.h"
#include "framework/app/SystemInfo.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Rect.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/BassMusicInterface.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/FModMusicInterface.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Platform.h"
#include "platform/app/ExitCodes.h"
#include "platform/app/ProcessEnd.h"
#include "platform/clock/Clock.h"
#include "platform/cmdline/CommandLine.h"
#include "platform/crash/CrashSignals.h"
#include "platform/folders/Folders.h"
#include "platform/instance/SingleInstance.h"
#include "platform/modules/Modules.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/settings/SettingsStore.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

namespace Zelk {

ZelkAppBase* gAppBase = nullptr;
ZelkAppBase* gCrashApp = nullptr;

namespace {

// Every program made with the application object catches its crashes from
// before its entry point on.
CrashCatcherInstaller gCrashCatcherInstaller;

} // namespace

ZelkAppBase::ZelkAppBase()
{
    // 1-2: the library stand-ins this program loads by name.
    gAppBase = this;
    plat::Modules* modules = plat::Get().modules;
    mDirectDrawPresent = !modules || modules->Load("ddraw.dll");
    mDirectSoundPresent = !modules || modules->Load("dsound.dll");
    ImageLib::LoadJ2kCodec();

    // 4: the program file and its folder.
    std::string programPath = plat::Get().folders ? plat::Get().folders->ProgramPath() : std::string();
    mProductVersion = GetProductVersion(programPath);
    mProgramFolder = GetFileDir(programPath, false);
    mCommandLine = plat::GetCommandLine();

    // 5: defaults that need computing.
    mConstructionTick = plat::GetTickCount();
    mAspectRatio.Set(4, 3);
    for (int i = 0; i < 512; ++i)
        mSaturationTable[i] = uint8_t(i < 256 ? i : 255);
    mLastPresentTime = plat::TimeGetTime();
    mNextDrawTime = mLastPresentTime;
    SetString("DIALOG_BUTTON_OK", L"OK");
    SetString("DIALOG_BUTTON_CANCEL", L"CANCEL");
    SetString("UPDATE_CHECK_TITLE", L"Update Check");
    SetString("UPDATE_CHECK_BODY", L"Checking if there are any updates available for this product ...");
    SetString("UP_TO_DATE_TITLE", L"Up to Date");
    SetString("UP_TO_DATE_BODY", L"There are no updates available for this product at this time.");
    SetString("NEW_VERSION_TITLE", L"New Version");
    SetString("NEW_VERSION_BODY", L"There is an update available for this product.  Would you like to "
                                  L"visit the web site to download it?");

    // 7: the managers.
    mWidgetManager = new WidgetManager(this);
    mResourceManager = new ResourceManager(this);
    ConnectDemoStream();
    ConnectDeveloperTools(gDebugToolHooks);

    // 8: a Tablet PC may not flip pages.
    plat::WindowSystem* windows = plat::Get().windows;
    mTabletPC = windows && windows->IsTabletPC();
    if (mTabletPC)
        mPageFlippingAllowed = false;

    gCrashApp = this;
}

int ZelkAppBase::AskAboutHardwareAcceleration(const char* textId, const wchar_t* defaultText)
{
    const std::wstring caption = StringToWString(mDisplayName) + L" " +
                                 GetString("HARDWARE_ACCEL_CONFIRMATION", L"Hardware Acceleration Confirmation");
    return plat::Get().messageBoxes->Show(GetString(textId, defaultText), caption,
                                          plat::MB_YESNO | plat::MB_ICONQUESTION);
}

ZelkAppBase::~ZelkAppBase()
{
    Shutdown();

    // Hardware acceleration: ask only when the 3D choice changed this run and
    // nothing is stored yet, or when the renderer had trouble.
    DDInterface* dd = mDDInterface;
    bool asked = false;
    bool secondQuestion = true;
    if (m3DChangedThisRun && dd) {
        bool stored = false;
        bool write = true;
        if (!RegistryReadBoolean("Is3D", &stored)) {
            if (dd->Tester3DClean()) {
                // a clean test result: store the choice without asking
            } else if (!dd->mIs3D) {
                write = false;
            } else {
                asked = true;
                const int answer = AskAboutHardwareAcceleration(
                    "HARDWARE_ACCEL_SWITCHED_ON",
                    L"Hardware Acceleration was switched on during this session.\r\n"
                    L"If this resulted in slower performance, it should be switched off.\r\n"
                    L"Would you like to keep Hardware Acceleration switched on?");
                dd->mIs3D = answer == plat::IDYES;
                if (answer != plat::IDYES) {
                    write = false;
                    secondQuestion = false;
                }
            }
        }
        if (write) {
            uint32_t value = dd->mIs3D ? 1 : 0;
            RegistryWrite("Is3D", plat::REG_DWORD, &value, 4);
            if (asked)
                secondQuestion = false;
        }
    }
    if (secondQuestion && dd && gDeviceLost && !mScreenSaverMode) {
        const int answer = AskAboutHardwareAcceleration(
            "HARDWARE_ACCEL_NOT_WORKING",
            L"Hardware Acceleration may not have been working correctly during this session.\r\n"
            L"If you noticed graphics problems, you may want to turn off Hardware Acceleration.\r\n"
            L"Would you like to keep Hardware Acceleration switched on?");
        if (answer == plat::IDNO) {
            uint32_t zero = 0;
            RegistryWrite("Is3D", plat::REG_DWORD, &zero, 4);
        }
    }

    // An unfinished loading thread still uses the application: wait for it
    // before anything it may touch goes away.
    WaitForLoadingThread();
    if (mLoadingThread.joinable())
        mLoadingThread.join();

    for (auto& entry : mDialogMap) {
        mWidgetManager->RemoveWidget(entry.second);
        delete entry.second;
    }
    mDialogMap.clear();
    mDialogList.clear();

    plat::WindowSystem* windows = plat::Get().windows;
    if (mInvisWindow && windows)
        windows->Destroy(mInvisWindow);
    mInvisWindow = 0;

    delete mWidgetManager;
    mWidgetManager = nullptr;
    delete mResourceManager;
    mResourceManager = nullptr;
    DeleteOverlay();
    RemoveSysFontMaker();

    {
        CritSectGuard g(DisplayLock());
        for (auto& entry : mSharedImageMap)
            delete entry.second.mImage;
        mSharedImageMap.clear();
    }

    delete mDDInterface.exchange(nullptr);
    delete mMusicInterface;
    mMusicInterface = nullptr;
    delete mSoundManager;
    mSoundManager = nullptr;

    if (plat::WindowHandle main = mMainWindow.exchange(0); main && windows)
        windows->Destroy(main);

    if (mCursorThread.joinable())
        mCursorThread.join();

    if (windows) {
        if (mHandCursor)
            windows->DestroyCursor(mHandCursor);
        if (mDraggingCursor)
            windows->DestroyCursor(mDraggingCursor);
    }
    mHandCursor = mDraggingCursor = 0;

    if (gAppBase == this)
        gAppBase = nullptr;
    if (mRecordingDemo)
        WriteDemoFile();
    DisconnectDemoStream();
    if (gCrashApp == this)
        gCrashApp = nullptr;

    if (mHoldsInstance && plat::Get().instance) {
        plat::Get().instance->Release();
        plat::Get().instance->onNotify = nullptr;
    }
}

void ZelkAppBase::Init()
{
    mMainThreadId = std::this_thread::get_id();
    mPrimaryThreadId = plat::CurrentThreadId();
    if (mShuttingDown)
        return;

    // Buttons and dialogs without a font make system fonts for their labels.
    InstallSysFontMaker();

    plat::Services& platform = plat::Get();
    if (!mDirectDrawPresent || !mDirectSoundPresent) {
        platform.messageBoxes->Show(
            GetString("APP_REQUIRES_DIRECTX",
                      L"This application requires DirectX to run.  You can get DirectX at "
                      L"http://www.microsoft.com/directx"),
            GetString("YOU_NEED_DIRECTX", L"You need DirectX"), plat::MB_ICONERROR);
        ExitNow(plat::kExitMissingLibrary);
    }

    OnBeforeInit();
    LoadSettings();

    // The data folder: common application data, company folder, product.
    if (IsWindowsVistaOrLater() && platform.folders) {
        std::string folder = RemoveTrailingSlash(platform.folders->CommonAppData());
        if (!mCompanyFolder.empty())
            folder += "\\" + mCompanyFolder;
        folder += "\\" + mProdName + "\\";
        SetAppDataFolder(folder);
        // The folder exists from the first start: demos and the crash report go there.
        CreateDirectories(folder);
        plat::SetCrashReportFile(NativePath(folder + "crash.txt"));
        mDemoFileName = DemoFileInDataFolder(mDemoFileName);
    }

    if (!mSkipCommandLine)
        ParseCommandLine(mCommandLine);

    if (mScreenSaverMode)
        mSingleInstanceWanted = false;

    if (!OnSetWorkingFolder(mProgramFolder) && !mProgramFolder.empty()) {
        if (chdir(NativePath(mProgramFolder).c_str()) != 0) {
            // the folder of a program that runs is always there; nothing to do
        }
    }

    // One running copy per product name; a later copy tells the first.
    mNotifyMessage = plat::WM_APP_NOTIFY;
    if (platform.instance) {
        plat::WindowSystem* windows = platform.windows;
        platform.instance->onNotify = [windows] {
            if (windows)
                windows->Queue().Post({plat::WM_APP_NOTIFY, 0, 0});
        };
        if (platform.instance->Acquire(mProdName + "Mutex"))
            mHoldsInstance = true;
        else
            OnAlreadyRunning();
    }

    mTimeLoaded = plat::GetTickCount();
    SeedRandom(mTimeLoaded);
    if (mPlayingDemo) {
        std::string error;
        if (!LoadDemo(error)) {
            mPlayingDemo = false;
            FatalError(error);
            ExitNow(plat::kExitBadDemo);
        }
    }
    // A demo carries one seed: both generators start from it, so a replay
    // draws the same numbers.
    SRand(mRecordingDemo || mPlayingDemo ? mTimeLoaded : plat::GetTickCount());

    if (platform.windows) {
        plat::WindowDesc desc;
        desc.title = mTitle;
        desc.width = 0;
        desc.height = 0;
        desc.invisible = true;
        mInvisWindow = platform.windows->Create(desc);
    }

    if (platform.windows) {
        const CursorMasks& hand = HandCursorMasks();
        const CursorMasks& drag = DraggingCursorMasks();
        mHandCursor = platform.windows->CreateCursor(hand.hotX, hand.hotY, 32, 32, hand.andMask, hand.xorMask);
        mDraggingCursor = platform.windows->CreateCursor(drag.hotX, drag.hotY, 32, 32, drag.andMask, drag.xorMask);
    }

    OnBeforeWindow();
    mWidgetManager->Resize(Rect(0, 0, mWidth, mHeight), Rect(0, 0, mWidth, mHeight));

    if (mWindowedWanted && !mChangeDesktopMode && platform.windows) {
        int desktopWidth = 0, desktopHeight = 0;
        platform.windows->DesktopSize(desktopWidth, desktopHeight);
        if (desktopWidth <= mWidth || desktopHeight <= mHeight) {
            mWindowedWanted = false;
            mFullScreenForced = true;
        }
    }

    MakeWindow();

    if (mPlayingDemo && TakeDemoHookRecord()) {
        // The screen mode and refresh rate of the recording run's first display.
        mWindowedWanted = mDemoBuffer.ReadBool();
        mRefreshRate = mDemoBuffer.ReadByte();
    }

    if (!mSoundManager)
        mSoundManager = new DSoundManager(mSoundOff ? 0 : mMainWindow.load(), mUseFMODMusic);
    SetSfxVolume(mSfxVolume);
    mMusicInterface = CreateMusicInterface(mInvisWindow);
    SetMusicVolume(mMusicVolume);

    if (mScreenSaverMode) {
        mCursorKind = 11;
        UpdateCursor();
    }

    OnInitDone();
    mInitialized = true;
}

MusicInterface* ZelkAppBase::CreateMusicInterface(plat::WindowHandle window)
{
    if (mSoundOff)
        return new MusicInterface();
    if (mUseFMODMusic)
        return new FModMusicInterface(window);
    return new BassMusicInterface(window);
}

bool ZelkAppBase::OnAlreadyRunning()
{
    if (!mSingleInstanceWanted)
        return false;
    if (mNotifyMessage && plat::Get().instance)
        plat::Get().instance->NotifyFirst(mProdName + "Mutex");
    ExitNow(0);
}

void ZelkAppBase::OnInstanceNotify(uintptr_t first, intptr_t second)
{
    if (first != 0)
        return;
    plat::WindowSystem* windows = plat::Get().windows;
    plat::WindowHandle main = mMainWindow;
    if (!windows || !main)
        return;
    if (windows->IsMinimized(main))
        windows->Restore(main);
    windows->Raise(main);
}

void ZelkAppBase::Shutdown()
{
    if (mMainThreadId.load() != std::thread::id() && std::this_thread::get_id() != mMainThreadId.load()) {
        mShutdownRequested = true;
        return;
    }
    if (mShuttingDown)
        return;
    mStopStepping = true;
    mShuttingDown = true;
    OnShutdown();
    if (mPlayingDemo) {
        SetMusicVolume(mSavedMusicVolume);
        SetSfxVolume(mSavedSfxVolume);
    }
    if (mCursorThread.joinable())
        mCursorThread.join();
    if (mMusicInterface)
        mMusicInterface->StopAllMusic();
    plat::WindowSystem* windows = plat::Get().windows;
    if (plat::WindowHandle main = mMainWindow; main && windows)
        windows->Hide(main);
    mChangeDesktopMode = false; // the desktop mode is never changed here
    if (mSettingsLoaded)
        SaveSettings();
    ImageLib::FreeJ2kCodec();
}

void ZelkAppBase::ExitNow(int exitCode)
{
    mChangeDesktopMode = false;
    // Static objects are destroyed by exit: no framework thread may still be
    // running then.
    mShuttingDown = true;
    if (mCursorThread.joinable() && std::this_thread::get_id() != mCursorThread.get_id()) {
        for (int i = 0; i < 100 && mCursorThreadRunning; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!mCursorThreadRunning)
            mCursorThread.join();
        else
            mCursorThread.detach();
    }
    plat::EndProcess(exitCode);
}

void ZelkAppBase::FatalErrorW(const std::wstring& text)
{
    if (mScreenSaverMode) {
        LogScreenError(WStringToString(text));
        return;
    }
    BeginPopup();
    if (!mShuttingDown)
        plat::Get().messageBoxes->Show(text, GetString("FATAL_ERROR", L"FATAL ERROR"), plat::MB_ICONERROR);
    ReleaseInput();
}

void ZelkAppBase::FatalError(const std::string& text)
{
    if (mScreenSaverMode) {
        LogScreenError(text);
        return;
    }
    BeginPopup();
    if (!mShuttingDown)
        plat::Get().messageBoxes->Show(StringToWString(text),
                                       StringToWString(WStringToString(GetString("FATAL_ERROR", L"FATAL ERROR"))),
                                       plat::MB_ICONERROR);
    ReleaseInput();
}

void ZelkAppBase::ShowResourceError(bool exit)
{
    FatalError(mResourceManager->GetErrorText());
    if (exit)
        ExitNow(plat::kExitMissingData);
}

void ZelkAppBase::LoadResourceManifest()
{
    if (!mResourceManager->ParseResourcesFile("properties\\resources.xml"))
        ShowResourceError(true);
}

int ZelkAppBase::GetDialogCount() { return int(mDialogMap.size()); }

bool ZelkAppBase::Is3DAccelerated()
{
    DDInterface* dd = mDDInterface;
    return dd && dd->mIs3D;
}

} // namespace Zelk
