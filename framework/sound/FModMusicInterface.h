#pragma once
#include "framework/sound/MusicInterface.h"
#include "platform/window/WindowSystem.h"

#include <map>

namespace Zelk {

struct FMOD_INSTANCE;
struct FSoundSample;
struct FMusicModule;

// One song of the FMOD music interface: a module song (FMUSIC) or a whole
// sample (FSOUND) that plays on the channel numbered by its song id.
struct FModSongInfo {
    FSoundSample* mSample = nullptr;
    FMusicModule* mModule = nullptr;
    double mVolume = 0.0;
    double mFadeSpeed = 0.0;
    double mMaxVolume = 1.0;
    bool mStopOnFade = false;
    bool mLoop = false;
};

// Music through the outside library "fmod.dll", with per-song volumes, fades
// and a master volume. Made only when the application's FMOD switch is set.
class FModMusicInterface : public MusicInterface {
public:
    explicit FModMusicInterface(plat::WindowHandle window);
    ~FModMusicInterface() override;

    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset, bool noLoop) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void FadeIn(int songId, int offset, double speed, bool noLoop) override;
    void FadeOut(int songId, bool stopSong, double speed) override;
    void FadeOutAll(bool stopSong, double speed) override;
    void SetSongVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void Update() override;

    // A sample song made of an intro followed by a looping part.
    virtual bool LoadSampleWithIntro(int songId, const std::string& intro, const std::string& loop, bool repeat);
    virtual bool LoadSample(int songId, const std::string& fileName, bool repeat);

    // The sample of name + ".ogg", through a plain wave copy kept under the
    // application data folder ("cached\<file part>.wav"); null when neither loads.
    FSoundSample* LoadCachedSample(const std::string& fileName);

    const FModSongInfo* GetSong(int songId) const;

protected:
    void ApplyVolume(int songId, const FModSongInfo& song);
    void StopSong(int songId, FModSongInfo& song);

    std::map<int, FModSongInfo> mSongMap;
    double mMasterVolume = 1.0;
    int mMaxMusicVolume = 100;
    int mMaxSampleVolume = 100;
    FMOD_INSTANCE* mFmod;
};

} // namespace Zelk
