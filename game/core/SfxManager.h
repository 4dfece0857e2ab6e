#pragma once
#include "game/core/XmlFunctions.h"

#include <string>

class SfxChannel;

// The sound effects of cfg\office.xml ("sounds/sound"), played by name in
// numbered groups, with nested pauses and one effect volume. Works on the
// globals of SfxSample.h under the sound library's hold, so pausing and
// resuming may be asked from any stepping thread.
class SfxManager {
public:
    SfxManager();
    // Deletes every sample and forgets the group names (the numbering goes on).
    virtual ~SfxManager();
    // Makes a sample for every "sounds/sound" node of the office node.
    void Load(const XmlNode& office);
    // Plays the named sample once; an unknown name does nothing. Virtual so
    // that tests can write the plays down.
    virtual void Play(const std::string& name);
    // A channel of the named sample for the caller to keep; null when unknown.
    SfxChannel* CreateChannel(const std::string& name);
    void PauseGroup(const std::string& group);
    void ResumeGroup(const std::string& group);
    void StopGroup(const std::string& group);
    void PauseAll();
    void ResumeAll();
    // The effect volume 0..100: kept for later plays and set on every known group.
    void SetVolume(int volume);
    int GetVolume() const;
    // Deletes every sample (stopped and unloaded).
    void ClearAll();
};
