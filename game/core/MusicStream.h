#pragma once
#include <string>

// The music volume 0..100; changed and read under the sound library's hold.
extern int gMusicVolume;

// One music track: loaded into the sound library when it starts, played
// looped in the music group (-1), faded in over one second (a worker every
// 50 ms) and out over two (every 100 ms), after which it is unloaded. A fade
// has 20 steps; the level and the volume of each are worked out from the
// step reached, never summed up.
class MusicStream {
public:
    explicit MusicStream(const std::string& path) : mPath(path) {}
    // Removes the channel's worker first, so no fade step uses the stream
    // after it is gone; the sound system's end stops what still plays.
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Starts the track at level 0 and fades it in. A track that is still
    // fading out fades back in on the same channel from its level instead.
    void Play();
    void FadeOut();
    void Pause();
    void Resume();

    static int FadeInWorker(int channel, void* stream);
    static int FadeOutWorker(int channel, void* stream);

    const std::string& Path() const { return mPath; }
    int SampleId() const { return mSample; }
    int ChannelId() const { return mChannel; }
    static constexpr int kFadeSteps = 20;
    // The fade level, 0 silent to 1 full.
    float Level() const { return float(mSteps) / kFadeSteps; }

private:
    // The music volume at the step reached, truncated.
    int StepVolume() const;

    std::string mPath;
    int mSample = 0;
    int mChannel = 0;
    int mSteps = 0; // fade steps reached, 0 to kFadeSteps
};
