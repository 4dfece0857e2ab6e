#pragma once
#include <string>

namespace Zelk {

// The application's music, addressed by integer song ids. This base does
// nothing (loads and queries answer false); it serves when the sound is off.
// Volumes run from 0 to 1; fade speeds are volume units per update.
class MusicInterface {
public:
    virtual ~MusicInterface() {}
    virtual bool LoadMusic(int songId, const std::string& fileName) { return false; }
    virtual void PlayMusic(int songId, int offset, bool noLoop) {}
    virtual void StopMusic(int songId) {}
    virtual void PauseMusic(int songId) {}
    virtual void ResumeMusic(int songId) {}
    virtual void StopAllMusic() {}
    virtual void UnloadMusic(int songId) {}
    virtual void UnloadAllMusic() {}
    virtual void PauseAllMusic() {}
    virtual void ResumeAllMusic() {}
    virtual void FadeIn(int songId, int offset, double speed, bool noLoop) {}
    virtual void FadeOut(int songId, bool stopSong, double speed) {}
    virtual void FadeOutAll(bool stopSong, double speed) {}
    virtual void SetSongVolume(int songId, double volume) {}
    virtual void SetSongMaxVolume(int songId, double volume) {}
    virtual bool IsPlaying(int songId) { return false; }
    virtual void SetVolume(double volume) {}
    virtual void SetMusicAmplify(int songId, double amp) {}
    virtual void Update() {}
};

} // namespace Zelk
