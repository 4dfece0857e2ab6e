#pragma once
#include "platform/audio/Mixer.h"

#include <cstdint>
#include <mutex>

namespace plat {

// The audio device: 44100 Hz, 16-bit stereo, fed by the program's one mixer.
// Every user (the sound buffers, the sound library) opens it and closes it
// again; the device runs while it has users.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // False when there is no device to play on.
    bool Open();
    void Close();
    bool IsOpen();
    // Brings the mix up to date before the caller looks at or changes the
    // voices. A device that mixes on its own thread has nothing to do.
    virtual void Sync() {}
    Mixer& GetMixer() { return mMixer; }

protected:
    virtual bool StartDevice() = 0;
    virtual void StopDevice() = 0;
    Mixer mMixer;

private:
    std::mutex mOpenLock;
    int mUsers = 0;
};

} // namespace plat
