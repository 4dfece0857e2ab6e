#pragma once

namespace Zelk {

class SoundInstance;

// The sound effects of the application. (So far only what the application
// object calls.)
class SoundManager {
public:
    virtual ~SoundManager() = default;
    virtual void SetVolume(double volume) = 0;
    virtual SoundInstance* GetSoundInstance(int id) = 0;
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void StopAllSounds() = 0;
};

} // namespace Zelk
