#include "platform/soundlib/SoundLibrary.h"
#include "platform/Platform.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/MemoryByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "platform/audio/WaveReader.h"
#include "platform/clock/Clock.h"
#include "platform/crash/ThreadStart.h"
#include "platform/debug/DebugSink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace plat {

namespace {

constexpr uint32_t kPlayRate = 44100;
// The most one decoded sample may hold (about 50 minutes of stereo).
constexpr uint64_t kMaxSampleBytes = uint64_t(1) << 29;

// The library's own file callbacks until the program gives its own: plain
// files by their path.
intptr_t StdOpen(const char* path)
{
    FILE* f = fopen(path, "rb");
    return f ? reinterpret_cast<intptr_t>(f) : -1;
}
long StdSeek(intptr_t file, long offset, int origin)
{
    FILE* f = reinterpret_cast<FILE*>(file);
    return fseek(f, offset, origin) == 0 ? ftell(f) : -1;
}
int StdRead(intptr_t file, void* buffer, int bytes)
{
    return int(fread(buffer, 1, size_t(bytes), reinterpret_cast<FILE*>(file)));
}
void StdClose(intptr_t file) { fclose(reinterpret_cast<FILE*>(file)); }

// A sound file read through the file callbacks; closes it when done.
class CallbackSource : public ByteSource {
public:
    CallbackSource(intptr_t file, SoundLibrary::SeekFn seek, SoundLibrary::ReadFn read, SoundLibrary::CloseFn close)
        : mFile(file), mSeek(seek), mRead(read), mClose(close)
    {
    }
    ~CallbackSource() override { mClose(mFile); }
    size_t Read(void* buffer, size_t bytes) override
    {
        size_t done = 0;
        while (done < bytes) {
            int want = int(std::min<size_t>(bytes - done, 1 << 30));
            int got = mRead(mFile, static_cast<uint8_t*>(buffer) + done, want);
            if (got <= 0)
                break;
            done += size_t(std::min(got, want));
        }
        mPos += int64_t(done);
        return done;
    }
    int Seek(int64_t offset, int origin) override
    {
        if (offset > INT32_MAX || offset < INT32_MIN)
            return -1;
        long at = mSeek(mFile, long(offset), origin);
        if (at < 0)
            return -1;
        mPos = at;
        return 0;
    }
    int64_t Tell() override { return mPos; }

private:
    intptr_t mFile;
    SoundLibrary::SeekFn mSeek;
    SoundLibrary::ReadFn mRead;
    SoundLibrary::CloseFn mClose;
    int64_t mPos = 0;
};

// The bytes of an Ogg file, held in sample memory while it is decoded.
using FileBytes = std::vector<uint8_t, SampleAllocator<uint8_t>>;

int Clamp100(int v) { return std::clamp(v, 0, 100); }

template <typename... Args> std::string CallText(const char* name, const Args&... args)
{
    std::ostringstream out;
    out << name << '(';
    [[maybe_unused]] const char* sep = "";
    ((out << sep << args, sep = ", "), ...);
    out << ')';
    return out.str();
}

const char* SetOrNone(const void* p) { return p ? "set" : "none"; }

} // namespace

// An Ogg sample being decoded into its memory, block by block, on the
// library's thread; the voices play what is ready.
struct SoundLibrary::Decoding {
    Decoding(uint64_t fileBytes, SampleMemory memory) : file(fileBytes, SampleAllocator<uint8_t>(memory)) {}
    // Decodes the next block; true when the sample is complete. A stream that
    // breaks off leaves the rest of the sample silent.
    bool Step()
    {
        uint8_t* bytes = data->bytes.data();
        uint64_t total = data->bytes.size();
        uint64_t block = uint64_t(kDecodeBlockFrames) * data->BlockAlign();
        uint64_t want = std::min(total - done, block);
        if (ogg.Read(bytes + done, want)) {
            done += want;
        } else {
            std::memset(bytes + done, 0, size_t(total - done));
            done = total;
        }
        data->SetReadyFrames(uint32_t(done / data->BlockAlign()));
        return done == total;
    }
    FileBytes file;
    MemoryByteSource source{file.data(), file.size()};
    OggDecoder ogg; // after the source: closed before it goes
    std::shared_ptr<SampleData> data;
    uint64_t done = 0;
    int sample = 0;
};

#define SOUNDLIB_RECORD(...)                                                                                          \
    do {                                                                                                              \
        if (Recording())                                                                                              \
            Record(CallText(__VA_ARGS__));                                                                            \
    } while (0)

SoundLibrary::SoundLibrary(bool workerThread) : mThreaded(workerThread)
{
    if (mThreaded)
        mThread = StartThread("zelk-soundlib", [this] { WorkerThread(); });
}

SoundLibrary::~SoundLibrary()
{
    mQuit = true;
    WakeWorkerThread();
    if (mThread.joinable())
        mThread.join();
    Free();
}

Mixer& SoundLibrary::GetMixer() { return mOutput->GetMixer(); }

void SoundLibrary::SyncDevice()
{
    if (mOutput)
        mOutput->Sync();
}

int SoundLibrary::Init(const InitParams& p)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("Init", p.window, p.values[0], p.values[1], p.values[2], p.values[3], p.values[4], p.values[5],
                    p.values[6], p.values[7], p.values[8], p.values[9], p.values[10], p.values[11]);
    if (mStarted || RefuseInit())
        return -1;
    if (p.values[1] != int32_t(kPlayRate) || p.values[2] != 16 || p.values[3] < 1 || p.values[3] > 256)
        return -1;
    AudioOutput* out = Get().audio;
    if (!out || !out->Open())
        return -1;
    mOutput = out;
    mClock = Get().clock;
    mMaxChannels = p.values[3];
    mStarted = true;
    mPaused = false;
    return 0;
}

int SoundLibrary::SetSpeakerMode(int mode)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetSpeakerMode", mode);
    if (!mStarted)
        return 0;
    mSpeakerMode = mode;
    return 1;
}

int SoundLibrary::SetFileCallbacks(OpenFn open, SeekFn seek, ReadFn read, CloseFn close)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetFileCallbacks", SetOrNone((void*)open), SetOrNone((void*)seek), SetOrNone((void*)read),
                    SetOrNone((void*)close));
    if (!mStarted || !open || !seek || !read || !close)
        return 0;
    mOpen = open;
    mSeek = seek;
    mRead = read;
    mClose = close;
    return 1;
}

int SoundLibrary::SetMemoryCallbacks(AllocFn allocate, FreeFn release)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetMemoryCallbacks", SetOrNone((void*)allocate), SetOrNone((void*)release));
    if (!mStarted || !allocate || !release)
        return 0;
    mMemory.allocate = allocate;
    mMemory.release = release;
    return 1;
}

void SoundLibrary::GetFileCallbacks(OpenFn& open, SeekFn& seek, ReadFn& read, CloseFn& close)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    open = mOpen;
    seek = mSeek;
    read = mRead;
    close = mClose;
}

int SoundLibrary::Pause(bool pause)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("Pause", pause);
    if (!mStarted)
        return 0;
    SyncDevice();
    Reap();
    std::map<int, bool> was;
    for (auto& [id, c] : mChannels)
        was[id] = Sounding(c);
    mPaused = pause;
    for (auto& [id, w] : was)
        Transition(id, w);
    return 1;
}

int SoundLibrary::Stop()
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("Stop");
    if (!mStarted)
        return 0;
    SyncDevice();
    while (!mChannels.empty())
        EndChannel(mChannels.begin());
    return 1;
}

int SoundLibrary::Free()
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("Free");
    if (!mStarted)
        return 0;
    SyncDevice();
    while (!mChannels.empty())
        EndChannel(mChannels.begin());
    DropDecoding(0);
    mSamples.clear();
    ++mRun;
    mOutput->Close();
    mOutput = nullptr;
    mClock = nullptr;
    mOpen = nullptr;
    mSeek = nullptr;
    mRead = nullptr;
    mClose = nullptr;
    mMemory = SampleMemory();
    mStarted = false;
    mPaused = false;
    return 1;
}

std::shared_ptr<SampleData> SoundLibrary::Decode(const char* path, uint32_t& rate, const FileAccess& files,
                                                 std::shared_ptr<Decoding>& decoding)
{
    intptr_t file = files.open(path);
    if (file == -1)
        return nullptr;
    CallbackSource src(file, files.seek, files.read, files.close);
    char magic[4];
    if (!src.ReadExact(magic, 4) || src.Seek(0, SEEK_SET) != 0)
        return nullptr;
    try {
        if (files.refuseMemory)
            throw std::bad_alloc();
        if (std::memcmp(magic, "RIFF", 4) == 0) {
            WaveHeader h;
            if (!WaveReader::ReadHeader(src, h) || h.channels > 2 || h.dataSize > kMaxSampleBytes)
                return nullptr;
            auto data = std::make_shared<SampleData>(h.dataSize, h.channels, h.bits, files.memory);
            if (!WaveReader::ReadData(src, h, data->bytes.data()))
                return nullptr;
            rate = h.rate;
            return data;
        }
        if (std::memcmp(magic, "OggS", 4) == 0) {
            // The file's bytes are read here, on the caller's thread; the
            // decoding of the samples goes on in the background.
            uint64_t size = src.BytesLeft();
            if (size == 0 || size > kMaxSampleBytes)
                return nullptr;
            auto job = std::make_shared<Decoding>(size, files.memory);
            if (!src.ReadExact(job->file.data(), size_t(size)))
                return nullptr;
            if (!job->ogg.Open(job->source)) {
                OutputDebugString(std::string(path) + ": " + job->ogg.Error() + "\n");
                return nullptr;
            }
            if (job->ogg.Bytes() > kMaxSampleBytes)
                return nullptr;
            // Filled by the decoding: the caller does not even wait for the
            // memory to be cleared.
            auto data = std::make_shared<SampleData>(uint32_t(job->ogg.Bytes()), job->ogg.Channels(), 16, files.memory,
                                                     SampleData::Unfilled());
            job->data = data;
            rate = job->ogg.Rate();
            decoding = std::move(job);
            return data;
        }
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}

int SoundLibrary::LoadSample(const char* path, int flags, const SampleDefaults* defaults)
{
    FileAccess files;
    uint64_t run;
    {
        std::lock_guard<std::recursive_mutex> g(mLock);
        if (Recording()) {
            std::ostringstream d;
            if (defaults)
                d << '{' << defaults->group << ", " << defaults->priority << ", " << defaults->rate << ", "
                  << defaults->volume << ", " << defaults->pan << ", " << defaults->nearDistance << ", "
                  << defaults->farDistance << '}';
            else
                d << "none";
            Record(CallText("LoadSample", path ? path : "", flags, d.str()));
        }
        if (!mStarted || !path || RefuseLoad(path))
            return 0;
        files.open = mOpen ? mOpen : &StdOpen;
        files.seek = mOpen ? mSeek : &StdSeek;
        files.read = mOpen ? mRead : &StdRead;
        files.close = mOpen ? mClose : &StdClose;
        files.memory = mMemory;
        files.refuseMemory = RefuseAllocation();
        run = mRun;
    }
    // Read without the lock, so workers keep their time meanwhile.
    uint32_t rate = 0;
    std::shared_ptr<Decoding> decoding;
    std::shared_ptr<SampleData> data = Decode(path, rate, files, decoding);
    std::lock_guard<std::recursive_mutex> g(mLock);
    if (!data || !mStarted || run != mRun)
        return 0;
    int id = mNextSample++;
    Sample& s = mSamples[id];
    s.data = std::move(data);
    s.rate = rate;
    if (defaults)
        s.defaults = *defaults;
    if (decoding) {
        decoding->sample = id;
        {
            std::lock_guard<std::mutex> d(mDecodeLock);
            mDecodings.push_back(std::move(decoding));
        }
        WakeWorkerThread();
    }
    return id;
}

uint32_t SoundLibrary::SampleFrames(int sample)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    auto s = mSamples.find(sample);
    return s == mSamples.end() ? 0 : s->second.data->Frames();
}

uint32_t SoundLibrary::SampleFramesDecoded(int sample)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    auto s = mSamples.find(sample);
    return s == mSamples.end() ? 0 : s->second.data->ReadyFrames();
}

bool SoundLibrary::DecodeBlocks(size_t blocks)
{
    std::lock_guard<std::mutex> d(mDecodeLock);
    for (; blocks > 0 && !mDecodings.empty(); --blocks) {
        std::shared_ptr<Decoding> next = std::move(mDecodings.front());
        mDecodings.pop_front();
        if (!next->Step())
            mDecodings.push_back(std::move(next));
    }
    return !mDecodings.empty();
}

void SoundLibrary::DropDecoding(int sample)
{
    std::lock_guard<std::mutex> d(mDecodeLock);
    mDecodings.erase(std::remove_if(mDecodings.begin(), mDecodings.end(),
                                    [&](const std::shared_ptr<Decoding>& j) { return sample == 0 || j->sample == sample; }),
                     mDecodings.end());
}

bool SoundLibrary::Sounding(const Channel& c) const
{
    if (c.paused || mPaused)
        return false;
    auto s = mSamples.find(c.sample);
    return s != mSamples.end() && !s->second.paused;
}

void SoundLibrary::ApplyGains(const Channel& c)
{
    float gain = float(c.volume) / 100.0f;
    float left = std::min(1.0f, float(100 - c.pan) / 50.0f);
    float right = std::min(1.0f, float(c.pan) / 50.0f);
    GetMixer().SetGains(c.voice, gain * left, gain * right);
}

void SoundLibrary::Transition(int id, bool wasSounding)
{
    auto it = mChannels.find(id);
    if (it == mChannels.end())
        return;
    Channel& c = it->second;
    bool now = Sounding(c);
    if (now == wasSounding)
        return;
    if (now)
        GetMixer().Start(c.voice, c.loop);
    else if (!GetMixer().Stop(c.voice))
        EndChannel(it); // it ran out just before
}

void SoundLibrary::Reap()
{
    for (auto it = mChannels.begin(); it != mChannels.end();) {
        auto next = std::next(it);
        if (Sounding(it->second) && !GetMixer().IsPlaying(it->second.voice))
            EndChannel(it);
        it = next;
    }
}

void SoundLibrary::EndChannel(std::map<int, Channel>::iterator it)
{
    GetMixer().DestroyVoice(it->second.voice);
    mChannels.erase(it);
}

void SoundLibrary::EndChannelsOf(int sample)
{
    for (auto it = mChannels.begin(); it != mChannels.end();) {
        auto next = std::next(it);
        if (it->second.sample == sample)
            EndChannel(it);
        it = next;
    }
}

int SoundLibrary::PlaySample(int sample, bool loop, int group, int start, int priority, int volume, int rate, int pan)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("PlaySample", sample, int(loop), group, start, priority, volume, rate, pan);
    if (!mStarted)
        return 0;
    auto s = mSamples.find(sample);
    if (s == mSamples.end())
        return 0;
    SyncDevice();
    Reap();
    if (int(mChannels.size()) >= mMaxChannels) {
        auto oldest = mChannels.end();
        for (auto it = mChannels.begin(); it != mChannels.end(); ++it)
            if (!it->second.loop && (oldest == mChannels.end() || it->second.order < oldest->second.order))
                oldest = it;
        if (oldest == mChannels.end())
            return 0;
        EndChannel(oldest);
    }
    uint32_t playRate = rate > 0 ? uint32_t(rate) : kPlayRate;
    uint64_t voiceRate = uint64_t(s->second.rate) * playRate / kPlayRate;
    int id = mNextChannel++;
    Channel& c = mChannels[id];
    c.sample = sample;
    c.group = group;
    c.loop = loop;
    c.paused = start == 0;
    c.volume = Clamp100(volume);
    c.pan = Clamp100(pan);
    c.order = mNextOrder++;
    c.voice = GetMixer().CreateVoice(s->second.data, uint32_t(std::min<uint64_t>(voiceRate, UINT32_MAX)));
    ApplyGains(c);
    Transition(id, false);
    return id;
}

int SoundLibrary::StopSample(int sample)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("StopSample", sample);
    if (!mStarted || !mSamples.count(sample))
        return 0;
    SyncDevice();
    EndChannelsOf(sample);
    return 1;
}

int SoundLibrary::PauseSample(int sample, bool pause)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("PauseSample", sample, int(pause));
    auto s = mSamples.find(sample);
    if (!mStarted || s == mSamples.end())
        return 0;
    SyncDevice();
    Reap();
    std::map<int, bool> was;
    for (auto& [id, c] : mChannels)
        if (c.sample == sample)
            was[id] = Sounding(c);
    s->second.paused = pause;
    for (auto& [id, w] : was)
        Transition(id, w);
    return 1;
}

int SoundLibrary::UnloadSample(int sample)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("UnloadSample", sample);
    if (!mStarted || !mSamples.count(sample))
        return 0;
    SyncDevice();
    EndChannelsOf(sample);
    DropDecoding(sample);
    mSamples.erase(sample);
    return 1;
}

SoundLibrary::Channel* SoundLibrary::LiveChannel(int channel)
{
    if (!mStarted)
        return nullptr;
    SyncDevice();
    Reap();
    auto it = mChannels.find(channel);
    return it == mChannels.end() ? nullptr : &it->second;
}

int SoundLibrary::ChannelStatus(int channel)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("ChannelStatus", channel);
    Channel* c = LiveChannel(channel);
    if (!c)
        return kEnded;
    return Sounding(*c) ? kPlaying : kPaused;
}

int SoundLibrary::StartChannel(int channel)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("StartChannel", channel);
    Channel* c = LiveChannel(channel);
    if (!c)
        return 0;
    bool was = Sounding(*c);
    c->paused = false;
    Transition(channel, was);
    return 1;
}

int SoundLibrary::StopChannel(int channel)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("StopChannel", channel);
    if (!LiveChannel(channel))
        return 0;
    EndChannel(mChannels.find(channel));
    return 1;
}

int SoundLibrary::PauseChannel(int channel, bool pause)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("PauseChannel", channel, int(pause));
    Channel* c = LiveChannel(channel);
    if (!c)
        return 0;
    bool was = Sounding(*c);
    c->paused = pause;
    Transition(channel, was);
    return 1;
}

int SoundLibrary::SetChannelVolume(int channel, int volume)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetChannelVolume", channel, volume);
    Channel* c = LiveChannel(channel);
    if (!c)
        return 0;
    c->volume = Clamp100(volume);
    ApplyGains(*c);
    return 1;
}

int SoundLibrary::SetChannelWorker(int channel, WorkerFn worker, void* data, int periodMs)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetChannelWorker", channel, SetOrNone((void*)worker), periodMs);
    Channel* c = LiveChannel(channel);
    if (!c)
        return 0;
    c->worker = worker;
    c->data = data;
    c->period = uint32_t(std::max(periodMs, 1));
    c->due = (mClock ? mClock->NowMs() : 0) + c->period;
    WakeWorkerThread();
    return 1;
}

int SoundLibrary::SetGroupVolume(int group, int volume)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    SOUNDLIB_RECORD("SetGroupVolume", group, volume);
    if (!mStarted)
        return 0;
    SyncDevice();
    Reap();
    for (auto& [id, c] : mChannels)
        if (c.group == group && !c.worker) {
            c.volume = Clamp100(volume);
            ApplyGains(c);
        }
    return 1;
}

bool SoundLibrary::NextWorkerDue(uint32_t nowMs, int& channel, uint32_t& dueMs)
{
    bool found = false;
    int32_t best = 0;
    for (auto& [id, c] : mChannels) {
        if (!c.worker)
            continue;
        int32_t off = int32_t(c.due - nowMs);
        if (!found || off < best) {
            found = true;
            best = off;
            channel = id;
            dueMs = c.due;
        }
    }
    return found;
}

void SoundLibrary::RunDueWorkers(uint32_t nowMs)
{
    std::lock_guard<std::recursive_mutex> g(mLock);
    if (!mStarted)
        return;
    SyncDevice();
    Reap();
    int channel;
    uint32_t due;
    while (NextWorkerDue(nowMs, channel, due) && int32_t(due - nowMs) <= 0) {
        Channel& c = mChannels[channel];
        WorkerFn fn = c.worker;
        void* data = c.data;
        // Rescheduled before the call, so the worker may replace or remove itself.
        c.due += c.period;
        if (int32_t(c.due - nowMs) <= 0)
            c.due = nowMs + c.period; // late: once, then on time again
        fn(channel, data);
        if (!mStarted)
            return;
        Reap();
    }
}

void SoundLibrary::WakeWorkerThread()
{
    {
        std::lock_guard<std::mutex> w(mWakeLock);
        mWakeUp = true;
    }
    mWakeCv.notify_one();
}

void SoundLibrary::WorkerThread()
{
    // Workers first, then one block of decoding at a time, so that a long
    // decode delays no worker by more than a block. With nothing to decode
    // the thread sleeps until the first worker is due, for at most a short
    // while (ended channels are reaped meanwhile): every wake-up costs, and
    // an idle program would otherwise wake it hundreds of times a second.
    constexpr int32_t kLongestSleepMs = 20;
    while (!mQuit) {
        int32_t sleepMs = kLongestSleepMs;
        {
            std::lock_guard<std::recursive_mutex> g(mLock);
            if (mStarted && mClock) {
                RunDueWorkers(mClock->NowMs());
                const uint32_t now = mClock->NowMs();
                int channel = 0;
                uint32_t due = 0;
                if (mStarted && NextWorkerDue(now, channel, due))
                    sleepMs = std::clamp(int32_t(due - now), int32_t(0), kLongestSleepMs);
            }
        }
        if (DecodeBlocks(1))
            continue;
        std::unique_lock<std::mutex> w(mWakeLock);
        mWakeCv.wait_for(w, std::chrono::milliseconds(sleepMs), [this] { return mWakeUp || mQuit; });
        mWakeUp = false;
    }
}

} // namespace plat
