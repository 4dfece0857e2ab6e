#pragma once
#include "platform/soundlib/SoundLibrary.h"
#include "platform/window/WindowSystem.h"

// The game's sound library: started once the main window exists, shared by
// the sound-effect manager and the music, and shut down when its last user
// goes. The library reads every sound file through the archive layer.
class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();
    // Starts the library for the main window when nobody has yet; counts a
    // user in every case, also when the start fails.
    void Init(plat::WindowHandle mainWindow);
    // Pauses or resumes everything the library plays.
    void PauseAll(bool pause);
    // Users counted by Init and not yet released.
    static int UseCount();

private:
    bool mCounted = false;
};

// The installed platform's sound library; an unstarted one when the platform
// has none, so that every call is answered.
plat::SoundLibrary& GameSoundLibrary();
