#pragma once
#include "framework/sound/SoundManager.h"
#include "platform/window/WindowSystem.h"

namespace Zelk {

// The sound manager over the platform's sound buffers. (So far silent: it
// remembers the volume and hands out no instances.)
class DSoundManager : public SoundManager {
public:
    DSoundManager(plat::WindowHandle window, bool haveFMod) {}
    void SetVolume(double volume) override { mVolume = volume; }
    SoundInstance* GetSoundInstance(int id) override { return nullptr; }
    double GetMasterVolume() override { return mMasterVolume; }
    void SetMasterVolume(double volume) override { mMasterVolume = volume; }
    void StopAllSounds() override {}
    double mVolume = 1.0;
    double mMasterVolume = 1.0;
};

} // namespace Zelk
