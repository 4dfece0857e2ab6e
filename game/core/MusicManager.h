#pragma once
#include "game/core/XmlFunctions.h"

#include <map>
#include <string>

class MusicStream;

// The music tracks of cfg\office.xml ("music/stream": name, path) and the one
// playing. A change of track fades the new one in and the old one out. Every
// operation holds the sound library's lock, so the fade workers, the focus
// hooks of any stepping thread and the main thread cannot race.
class MusicManager {
public:
    // No tracks, no current name, volume 100.
    MusicManager();
    // Deletes the tracks, removing each one's fade worker first.
    ~MusicManager();
    // Reads the "music/stream" nodes of the office node in document order;
    // stops at an entry without name or path or with a name already read.
    // True when all were read.
    bool Load(const XmlNode& office);
    // Another name starts that track (when known) and fades out the current
    // one (when known); the same name does nothing. True.
    bool PlayMusic(const std::string& name);
    // Pause and resume the current track's channel.
    void Pause();
    void Resume();
    // The music volume 0..100, also set as the music group's volume.
    void SetVolume(int volume);
    int GetVolume() const;
    const std::string& CurrentName() const { return mCurrent; }
    MusicStream* Find(const std::string& name) const;

private:
    std::string mCurrent;
    std::map<std::string, MusicStream*> mTracks;
};
