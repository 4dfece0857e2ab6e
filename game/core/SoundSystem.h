#pragma once
#include "platform/window/WindowSystem.h"

// The game's sound library: started once the main window exists, shared by
// the sound-effect manager and the music. Filled in by the sound system.
class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();
    // Starts the library for the main window.
    void Init(plat::WindowHandle mainWindow);
};
