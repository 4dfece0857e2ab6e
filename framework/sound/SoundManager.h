#pragma once
#include "platform/window/WindowSystem.h"

#include <string>

namespace Zelk {

class SoundInstance;

// The framework's sound effects: loaded sounds by id (0..255) and the
// instances that play them. Ids of 256 and above are refused everywhere (a
// negative id converts to one of them).
class SoundManager {
public:
    virtual ~SoundManager() {}
    virtual bool Initialized() = 0;
    // The id a file name is loaded under, loading it into the highest free id
    // when it is not loaded yet; -1 when that fails.
    virtual int FindSoundId(const std::string& fileName) = 0;
    virtual bool LoadSound(unsigned int id, const std::string& fileName) = 0;
    virtual void ReleaseSound(unsigned int id) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual bool SetBaseVolume(unsigned int id, double baseVolume) = 0;
    virtual bool SetBasePan(unsigned int id, int basePan) = 0;
    // Null when the id has no sound or all channels are taken.
    virtual SoundInstance* GetSoundInstance(unsigned int id) = 0;
    virtual void ReleaseSounds() = 0;
    virtual void ReleaseChannels() = 0;
    // The system's wave-output volume, 0..1.
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void Flush() = 0;
    virtual void SetCooperativeWindow(plat::WindowHandle window, bool isWindowed) = 0;
    virtual void StopAllSounds() = 0;
    virtual int GetFreeSoundId() = 0;
    virtual int GetNumSounds() = 0;
};

} // namespace Zelk
