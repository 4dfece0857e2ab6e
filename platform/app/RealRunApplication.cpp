#include "platform/Platform.h"
#include "platform/app/ProcessEnd.h"
#include "platform/app/RunApplication.h"
#include "platform/audio/RealAudioOutput.h"
#include "platform/clock/RealClock.h"
#include "platform/crash/CrashSignals.h"
#include "platform/crash/ThreadStart.h"
#include "platform/debug/DebugSink.h"
#include "platform/dialog/RealModalDialogHost.h"
#include "platform/folders/Folders.h"
#include "platform/instance/SingleInstance.h"
#include "platform/modules/Modules.h"
#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/msgbox/RealMessageBoxes.h"
#include "platform/settings/FileSettingsStore.h"
#include "platform/text/FreeTypeTextDevice.h"
#include "platform/shell/RealShell.h"
#include "platform/soundlib/SoundLibrary.h"
#include "platform/window/RealWindowSystem.h"

#include <SDL.h>
#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

RealWindowSystem* gWindows = nullptr;
SingleInstance* gInstance = nullptr;
std::atomic<bool> gEndAsked{false};
std::atomic<int> gEndCode{0};

// On the first thread, with the event loop left: close the windows, leave
// SDL and end the process. Static objects are not destroyed: the
// application's thread may still hold any of them.
[[noreturn]] void LeaveAndEnd(int code)
{
    gWindows->Close();
    SDL_Quit();
    gInstance->Release();
    fflush(nullptr);
    _exit(code);
}

// A fatal end asked on any thread: the first thread ends the process.
void HandToFirstThread(int code)
{
    gEndCode = code;
    if (gEndAsked.exchange(true))
        return; // an end is already on its way
    if (gWindows->IsEventThread())
        LeaveAndEnd(code);
    gWindows->Stop();
}

} // namespace

int RunRealApplication(const std::function<int()>& appMain)
{
    // A copy of this program started to show one message box ends here.
    RunMessageBoxProcessIfAsked();
    static RealClock clock;
    static XdgFolders folders;
    static Modules modules;
    static DebugSink debug;
    static FileSettingsStore settings(FileSettingsStore::DefaultPath());
    static SingleInstance instance(folders.RuntimeFolder());
    static RealWindowSystem windows;
    static RealMessageBoxes messageBoxes;
    static RealAudioOutput audio;
    static FreeTypeTextDevice text;
    static RealModalDialogHost dialogs(&windows);
    static RealShell shell(&windows);
    static SoundLibrary sound(true);

    std::string error;
    if (!windows.Open(error)) {
        fprintf(stderr, "Cannot open a window on this desktop: %s\n", error.c_str());
        return 1;
    }

    Services s;
    s.clock = &clock;
    s.settings = &settings;
    s.folders = &folders;
    s.modules = &modules;
    s.instance = &instance;
    s.messageBoxes = &messageBoxes;
    s.debug = &debug;
    s.windows = &windows;
    s.audio = &audio;
    s.text = &text;
    s.dialogs = &dialogs;
    s.shell = &shell;
    s.sound = &sound;
    Install(s);
    gWindows = &windows;
    gInstance = &instance;
    SetProcessEnder(HandToFirstThread);

    int result = 0;
    std::thread app = StartThread("zelk-app", [&] {
        result = appMain();
        windows.Stop();
    });
    windows.RunEventLoop();
    if (gEndAsked)
        LeaveAndEnd(gEndCode);
    app.join();
    SetProcessEnder(nullptr);
    // SDL is left here, before any static object of this platform goes.
    windows.Close();
    instance.Release();
    return result;
}

} // namespace plat
