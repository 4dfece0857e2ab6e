#pragma once
#include "game/core/XmlFunctions.h"

#include <map>
#include <string>

class SfxSample;

// The sound effects by name, the group numbers by group name (handed out 1,
// 2, 3, ... in the order names are first met, never reused) and the effect
// volume 0..100. Changed under the sound library's hold.
extern std::map<std::string, SfxSample*> gSfxSamples;
extern std::map<std::string, int> gSfxGroups;
extern int gSfxVolume;
// The last group number given out (0 before the first).
int SfxLastGroupNumber();

// One sound effect of cfg\office.xml ("sounds/sound": name, group, path,
// loop), loaded into the sound library, with a nested pause count.
class SfxSample {
public:
    // Reads the node, takes its group number, registers itself under its name
    // (a sample of the same name before it is stopped, unloaded and deleted)
    // and loads its file.
    explicit SfxSample(const XmlNode& node);
    ~SfxSample();
    SfxSample(const SfxSample&) = delete;
    SfxSample& operator=(const SfxSample&) = delete;

    // Plays once on a new channel at the effect volume.
    void Play();
    void Stop();
    // Pauses nest: the first pause holds every channel of the sample, the
    // last resume lets them go on. A resume without a pause does nothing.
    void Pause();
    void Resume();

    int SampleId() const { return mSample; }
    int Group() const { return mGroup; }
    bool Loop() const { return mLoop; }
    const std::string& Path() const { return mPath; }
    int PauseCount() const { return mPauseCount; }

private:
    int mSample = 0;
    std::string mPath;
    int mGroup = 0;
    bool mLoop = false;
    int mPauseCount = 0;
};
