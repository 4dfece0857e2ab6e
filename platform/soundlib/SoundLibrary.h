#pragma once
#include "platform/audio/Mixer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace plat {

class AudioOutput;
class Clock;

// The game's sound library: wave samples read whole at load and Ogg Vorbis
// samples decoded in the background on the library's thread, played on
// channels that are voices of the program's one mixer (the audio output of
// the installed platform), with groups, pauses and timed workers. Ids count
// from 1 and are never reused in a run; 0 means failure, and a call with 0,
// an unknown id or on an unstarted library does nothing and answers 0.
// docs/SOUND.md describes the semantics in full.
//
// Thread-safe: every operation runs under one re-entrant lock, which a
// worker holds while it runs and a caller can hold across several calls
// (Hold). The audio device's thread never takes it.
class SoundLibrary {
public:
    // Start-up block: the window, then twelve words of which the library
    // honours the rate (44100), the sample bits (16) and the channel count.
    struct InitParams {
        intptr_t window = 0;
        int32_t values[12] = {};
    };
    // A sample's defaults at load: group, priority, rate (0 = its own),
    // volume, pan, near and far distance.
    struct SampleDefaults {
        int32_t group = 0;
        int32_t priority = 0;
        int32_t rate = 0;
        int32_t volume = 100;
        int32_t pan = 50;
        float nearDistance = 1.0f;
        float farDistance = 1.0e9f;
    };
    // File callbacks: open gives a handle or -1; seek gives the new position
    // (or -1); read gives the bytes read.
    using OpenFn = intptr_t (*)(const char* path);
    using SeekFn = long (*)(intptr_t file, long offset, int origin);
    using ReadFn = int (*)(intptr_t file, void* buffer, int bytes);
    using CloseFn = void (*)(intptr_t file);
    using AllocFn = void* (*)(size_t bytes);
    using FreeFn = void (*)(void* memory);
    // A channel's worker: called with the channel id and its data; the
    // result is ignored.
    using WorkerFn = int (*)(int channel, void* data);

    enum Status { kEnded = 0, kPlaying = 1, kPaused = 2 };

    // With a worker thread, due workers run on a thread of the library on
    // the platform clock; without, only when RunDueWorkers is called.
    explicit SoundLibrary(bool workerThread);
    virtual ~SoundLibrary();
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // 0 on success, negative on failure (a second start without Free, a
    // format other than 44100 Hz 16 bits, no audio device).
    int Init(const InitParams& params);
    int SetSpeakerMode(int mode);
    int SetFileCallbacks(OpenFn open, SeekFn seek, ReadFn read, CloseFn close);
    int SetMemoryCallbacks(AllocFn allocate, FreeFn release);
    int Pause(bool pause);
    int Stop();
    int Free();

    int LoadSample(const char* path, int flags, const SampleDefaults* defaults);
    // A new channel of the sample; start 0 makes it paused. Rate 44100 plays
    // at the sample's own speed; pan 0 left, 50 centre, 100 right.
    int PlaySample(int sample, bool loop, int group, int start, int priority, int volume, int rate, int pan);
    int StopSample(int sample);
    int PauseSample(int sample, bool pause);
    int UnloadSample(int sample);

    int ChannelStatus(int channel);
    int StartChannel(int channel);
    int StopChannel(int channel);
    int PauseChannel(int channel, bool pause);
    int SetChannelVolume(int channel, int volume);
    int SetChannelWorker(int channel, WorkerFn worker, void* data, int periodMs);
    // Sets the volume of every live channel of the group that has no worker.
    int SetGroupVolume(int group, int volume);

    // Runs every worker that is due at the given time, in time order.
    void RunDueWorkers(uint32_t nowMs);
    // The file callbacks in use (null before they are set), for diagnostics.
    void GetFileCallbacks(OpenFn& open, SeekFn& seek, ReadFn& read, CloseFn& close);
    // A sample's length in frames, and how many of them are decoded so far
    // (0 for an unknown sample), for diagnostics.
    uint32_t SampleFrames(int sample);
    uint32_t SampleFramesDecoded(int sample);

    // The frames an Ogg sample is decoded by in one step of the background.
    static constexpr uint32_t kDecodeBlockFrames = 4096;

    // Holds the library's lock for a scope.
    class Hold {
    public:
        explicit Hold(SoundLibrary& lib) : mLock(lib.mLock) {}

    private:
        std::lock_guard<std::recursive_mutex> mLock;
    };

protected:
    // Hooks of the null library: the call log and scripted failures.
    virtual void Record(const std::string& call) {}
    virtual bool Recording() const { return false; }
    virtual bool RefuseInit() { return false; }
    virtual bool RefuseLoad(const std::string& path) { return false; }
    // Taken once per load: true makes its sample memory unavailable.
    virtual bool RefuseAllocation() { return false; }
    // The channel whose worker is due first as seen at nowMs; false when no
    // channel has a worker.
    bool NextWorkerDue(uint32_t nowMs, int& channel, uint32_t& dueMs);
    // Decodes up to the given number of blocks of the samples still being
    // decoded, taking them in turn; false when none is left. Never takes the
    // library's lock (which may be held by the caller).
    bool DecodeBlocks(size_t blocks);
    std::recursive_mutex mLock;

private:
    struct Sample {
        std::shared_ptr<SampleData> data;
        uint32_t rate = 0;
        SampleDefaults defaults;
        bool paused = false;
    };
    struct Channel {
        int sample = 0;
        int group = 0;
        Mixer::VoiceId voice = 0;
        bool loop = false;
        bool paused = false;
        int volume = 100;
        int pan = 50;
        uint64_t order = 0;
        WorkerFn worker = nullptr;
        void* data = nullptr;
        uint32_t period = 0;
        uint32_t due = 0;
    };

    struct Decoding;
    struct FileAccess {
        OpenFn open = nullptr;
        SeekFn seek = nullptr;
        ReadFn read = nullptr;
        CloseFn close = nullptr;
        SampleMemory memory;
        bool refuseMemory = false;
    };

    Mixer& GetMixer();
    void SyncDevice();
    // Ends channels whose non-looping voice has run out.
    void Reap();
    void EndChannel(std::map<int, Channel>::iterator it);
    void EndChannelsOf(int sample);
    // Starts or holds the channel's voice when whether it sounds has changed.
    void Transition(int channel, bool wasSounding);
    // The live channel of the id after the mix is brought up to date.
    Channel* LiveChannel(int channel);
    void ApplyGains(const Channel& c);
    bool Sounding(const Channel& c) const;
    // Reads a file: a wave whole, an Ogg stream as far as its headers, giving
    // the decoding that goes on in the background.
    static std::shared_ptr<SampleData> Decode(const char* path, uint32_t& rate, const FileAccess& files,
                                              std::shared_ptr<Decoding>& decoding);
    // Forgets the background decoding of the sample (every one when 0); when
    // it returns, no block of it is being decoded.
    void DropDecoding(int sample);
    void WorkerThread();

    bool mStarted = false;
    bool mPaused = false;
    int mSpeakerMode = 0;
    int mMaxChannels = 32;
    AudioOutput* mOutput = nullptr;
    Clock* mClock = nullptr;
    OpenFn mOpen = nullptr;
    SeekFn mSeek = nullptr;
    ReadFn mRead = nullptr;
    CloseFn mClose = nullptr;
    SampleMemory mMemory;
    std::map<int, Sample> mSamples;
    std::map<int, Channel> mChannels;
    int mNextSample = 1;
    int mNextChannel = 1;
    uint64_t mNextOrder = 0;
    uint64_t mRun = 0; // counts the Free calls: a load finishing after one is dropped

    // The samples still being decoded; the lock is held while a block is
    // decoded and is taken after the library's lock, never before it.
    std::mutex mDecodeLock;
    std::deque<std::shared_ptr<Decoding>> mDecodings;

    bool mThreaded;
    std::atomic<bool> mQuit{false};
    std::thread mThread;
    // The worker thread sleeps until its first worker is due, or until a
    // worker or a decode is added (or the library ends) wakes it.
    void WakeWorkerThread();
    std::mutex mWakeLock;
    std::condition_variable mWakeCv;
    bool mWakeUp = false;
};

} // namespace plat
