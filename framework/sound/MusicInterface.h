#pragma once

namespace Zelk {

// The music interface of the application. This base does nothing; it serves
// when the sound is off.
class MusicInterface {
public:
    virtual ~MusicInterface() = default;
    virtual void SetVolume(double volume) { mVolume = volume; }
    virtual void Update() { ++mUpdates; }
    virtual void StopAllMusic() { ++mStops; }
    double mVolume = 1.0;
    int mUpdates = 0;
    int mStops = 0;
};

} // namespace Zelk
