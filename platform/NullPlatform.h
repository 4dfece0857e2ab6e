#pragma once
#include "platform/Platform.h"
#include "platform/audio/NullAudioOutput.h"
#include "platform/clock/NullClock.h"
#include "platform/debug/DebugSink.h"
#include "platform/dialog/NullModalDialogHost.h"
#include "platform/folders/Folders.h"
#include "platform/instance/SingleInstance.h"
#include "platform/modules/Modules.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/settings/SettingsStore.h"
#include "platform/text/NullTextDevice.h"
#include "platform/shell/NullShell.h"
#include "platform/soundlib/NullSoundLibrary.h"
#include "platform/window/NullWindowSystem.h"

#include <memory>
#include <string>

namespace plat {

// The whole null platform: deterministic services that need no display, audio
// device or network. Making one installs it; destroying it installs nothing in
// its place, so make one per test (or per test program).
class NullPlatform {
public:
    // Folders live under a fresh temporary folder that is removed again.
    NullPlatform();
    ~NullPlatform();
    NullPlatform(const NullPlatform&) = delete;
    NullPlatform& operator=(const NullPlatform&) = delete;

    const std::string& TempRoot() const { return mRoot; }

    NullClock clock{0};
    SettingsStore settings;
    FixedFolders folders;
    Modules modules;
    std::unique_ptr<SingleInstance> instance;
    NullMessageBoxes messageBoxes;
    DebugSink debug;
    NullWindowSystem windows;
    NullAudioOutput audio;
    NullTextDevice text;
    NullModalDialogHost dialogs;
    NullShell shell;
    NullSoundLibrary sound{clock};

private:
    std::string mRoot;
};

} // namespace plat
