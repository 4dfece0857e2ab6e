#include "platform/Platform.h"
#include "platform/app/ExitCodes.h"
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
#include "platform/loop/TerminationSignals.h"
#include "platform/modules/Modules.h"
#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/msgbox/RealMessageBoxes.h"
#include "platform/settings/FileSettingsStore.h"
#include "platform/text/FreeTypeTextDevice.h"
#include "platform/shell/RealShell.h"
#include "platform/soundlib/SoundLibrary.h"
#include "platform/window/RealDisplayLoss.h"
#include "platform/window/RealWindowSystem.h"
#include "platform/window/WindowMessages.h"

#include <SDL.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

RealWindowSystem* gWindows = nullptr;
SingleInstance* gInstance = nullptr;
std::atomic<bool> gEndAsked{false};
std::atomic<int> gEndCode{0};
std::atomic<bool> gAppEnded{false};
std::atomic<bool> gDisplayLost{false};
TerminationSignals* gSignals = nullptr; // the platform's own listener
// How long the application may take to close once the display is gone.
constexpr auto kCloseWithoutDisplay = std::chrono::seconds(20);

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

// The X server went away under the running program (on the thread that
// noticed, inside Xlib; only the first thread talks to the X server). The
// program closes as it would on the window's close request, saving what it
// saves then, and the first thread ends the process with its own code once
// the application has returned, from inside the call that failed: nothing
// there may call SDL or Xlib again. Xlib's default would call exit() on this
// thread and destroy static objects under the running threads.
[[noreturn]] void OnDisplayLost()
{
    if (!gDisplayLost.exchange(true)) {
        fprintf(stderr, "The connection to the display was lost.\n");
        gWindows->LoseDisplay();
        // Taken as a termination signal by whoever listens for them: the
        // platform closes the application (its first thread, which would
        // post the close, is the one here), a launcher ends.
        TerminationSignals::Request();
        if (gSignals && gSignals->Requested())
            gWindows->Queue().Post({WM_CLOSE, 0, 0});
    }
    if (gWindows->IsEventThread()) {
        const auto limit = std::chrono::steady_clock::now() + kCloseWithoutDisplay;
        while (!gAppEnded && !gEndAsked && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        gInstance->Release();
        fflush(nullptr);
        _exit(kExitDisplayLost);
    }
    // Another thread in an X call: it may not return into Xlib. The first
    // thread meets the broken connection at its next pass and ends the
    // process (after the time limit when this is the application's thread).
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
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
    static RealModalDialogHost dialogs;
    static RealShell shell(&windows);
    static SoundLibrary sound(true);

    std::string error;
    if (!windows.Open(error)) {
        fprintf(stderr, "Cannot open a window on this desktop: %s\n", error.c_str());
        return kExitNoDisplay;
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
    // A shutdown, an interrupt or the end of the session asks the program to
    // close, as the window's close button does.
    TerminationSignals signals;
    gSignals = &signals;
    SetDisplayLostHandler(OnDisplayLost);
    bool closeAsked = false;
    windows.SetEachPass([&] {
        if (signals.Requested() && !closeAsked) {
            closeAsked = true;
            windows.Queue().Post({WM_CLOSE, 0, 0});
        }
    });

    int result = 0;
    std::thread app = StartThread("zelk-app", [&] {
        result = appMain();
        gAppEnded = true;
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
    gSignals = nullptr;
    return result;
}

} // namespace plat
