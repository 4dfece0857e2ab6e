#pragma once

class SfxSample;

// One kept channel of a sound effect, for an office object's own sounds
// (snoring, ringing, steps): started again rather than doubled.
class SfxChannel {
public:
    explicit SfxChannel(SfxSample* sample) : mSample(sample) {}
    ~SfxChannel();
    SfxChannel(const SfxChannel&) = delete;
    SfxChannel& operator=(const SfxChannel&) = delete;

    // A new channel (the sample's loop flag, group and the effect volume)
    // when the kept one has ended; otherwise the kept one is started again.
    void Play();
    void Stop();
    void Pause();
    void Resume();
    int ChannelId() const { return mChannel; }

private:
    SfxSample* mSample; // not owned
    int mChannel = 0;
};
