#pragma once

namespace Zelk {

// One playing copy of a loaded sound, with its own volume, pan and pitch.
// Volumes run from 0 (silence) to 1; pans from -10000 (left) to 10000
// (right); pitch is given in semitones. The sound manager owns every instance:
// callers Release it when done, or play it with auto-release.
class SoundInstance {
public:
    virtual ~SoundInstance() {}
    virtual void Release() = 0;
    virtual void SetBaseVolume(double baseVolume) = 0;
    virtual void SetBasePan(int basePan) = 0;
    virtual void AdjustPitch(double numSteps) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual void SetPan(int pan) = 0;
    virtual bool Play(bool looping, bool autoRelease) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsReleased() = 0;
    virtual double GetVolume() = 0;
};

} // namespace Zelk
