#include "platform/NullPlatform.h"
#include "platform/audio/MemoryByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "platform/soundlib/NullSoundLibrary.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/platform/soundlib/MemorySoundFiles.h"
#include "tools/hostilefiles/OggPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

using namespace plat;
using namespace soundtest;

namespace {

std::string Constant(uint32_t frames, uint32_t rate, int16_t value, uint16_t channels = 1)
{
    return WaveFile(channels, rate, 16, Pcm16(std::vector<int16_t>(frames * channels, value)));
}

// 16-bit mono whose sample i is i.
std::string Ramp(uint32_t frames, uint32_t rate)
{
    std::vector<int16_t> s;
    for (uint32_t i = 0; i < frames; ++i)
        s.push_back(int16_t(i));
    return WaveFile(1, rate, 16, Pcm16(s));
}

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<int16_t> Left(const std::vector<int16_t>& stereo)
{
    std::vector<int16_t> l;
    for (size_t i = 0; i < stereo.size(); i += 2)
        l.push_back(stereo[i]);
    return l;
}

class SoundLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CountingMemory::Reset();
        MemorySoundFiles::Get().Clear();
        ASSERT_EQ(lib.Init(GameParams()), 0);
        files().Install(lib);
        lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release);
    }
    MemorySoundFiles& files() { return MemorySoundFiles::Get(); }
    int Load(const std::string& name, const std::string& bytes)
    {
        files().Put(name, bytes);
        return lib.LoadSample(name.c_str(), 0, nullptr);
    }
    int Play(int sample, bool loop = false, int volume = 100, int group = 1)
    {
        return lib.PlaySample(sample, loop, group, 1, 0, volume, 44100, 50);
    }

    NullPlatform platform;
    NullSoundLibrary& lib = platform.sound;
};

TEST_F(SoundLibraryTest, SampleIdsCountFromOneAndBadFilesGiveZero)
{
    std::string wave = Constant(100, 44100, 1000);
    struct Case {
        const char* what;
        const char* path;
        std::string bytes; // empty: the file is missing
        bool loads;
    } cases[] = {
        {"a mono 16-bit wave", "a.wav", wave, true},
        {"an 8-bit stereo wave", "b.wav", WaveFile(2, 22050, 8, {128, 128, 200, 60}), true},
        {"an Ogg Vorbis stream", "tone.ogg", Fixture("tone.ogg"), true},
        {"a missing file", "none.wav", "", false},
        {"not a sound", "text.wav", "hello, this is no sound at all", false},
        {"a truncated header", "cut.wav", wave.substr(0, 30), false},
        {"a data chunk longer than the file", "short.wav", wave.substr(0, wave.size() - 10), false},
        {"three channels", "three.wav", Constant(4, 44100, 1, 3), false},
        {"a truncated Ogg stream", "cut.ogg", Fixture("tone.ogg").substr(0, 60), false},
        {"an Ogg stream claiming more than its packets hold", "lie.ogg",
         hostile::OggWithLastGranule(hostile::OggSilence(Fixture("second.ogg"), 600), 125000000), false},
        {"a chained stream of two rates", "mixed.ogg", hostile::OggChain(Fixture("tone.ogg"), Fixture("second.ogg")),
         false},
        {"a chained stream of one rate", "twice.ogg",
         hostile::OggChain(Fixture("second.ogg"), Fixture("second.ogg")), true},
    };
    int next = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty())
            files().Put(c.path, c.bytes);
        int id = lib.LoadSample(c.path, 0, nullptr);
        EXPECT_EQ(id, c.loads ? next : 0);
        if (c.loads)
            ++next;
        EXPECT_EQ(files().OpenHandles(), 0);
    }
    // An unloaded id is not given out again.
    EXPECT_EQ(lib.UnloadSample(1), 1);
    EXPECT_EQ(lib.UnloadSample(1), 0);
    EXPECT_EQ(Load("again.wav", wave), next);
    EXPECT_EQ(Play(1), 0);
    int ch = Play(next);
    EXPECT_EQ(ch, 1);
    lib.StopChannel(ch);
    EXPECT_EQ(Play(next), 2);
}

TEST_F(SoundLibraryTest, ChannelLife)
{
    int second = Load("second.wav", Constant(44100, 44100, 100));
    int half = Load("half.wav", Constant(22050, 22050, 100));
    int ogg = Load("second.ogg", Fixture("second.ogg")); // decoded in the background
    // A sample that lasts one second ends exactly then, whatever its rate or
    // format.
    for (int sample : {second, half, ogg}) {
        SCOPED_TRACE(sample);
        int ch = Play(sample);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
        lib.Advance(999);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
        lib.Advance(1);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kEnded);
        EXPECT_EQ(lib.StartChannel(ch), 0); // an ended channel stays ended
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kEnded);
    }
    int loop = Play(second, true);
    lib.Advance(3500);
    EXPECT_EQ(lib.ChannelStatus(loop), SoundLibrary::kPlaying);

    // Every way to end a channel.
    struct Ending {
        const char* what;
        std::function<void(int sample, int channel)> end;
    } endings[] = {
        {"channel stop", [&](int, int ch) { lib.StopChannel(ch); }},
        {"sample stop", [&](int s, int) { lib.StopSample(s); }},
        {"unload", [&](int s, int) { lib.UnloadSample(s); }},
        {"stop all", [&](int, int) { lib.Stop(); }},
        {"free", [&](int, int) { lib.Free(); }},
    };
    for (const Ending& e : endings) {
        SCOPED_TRACE(e.what);
        int s = Load("loop.wav", Constant(4410, 44100, 100));
        int ch = Play(s, true);
        ASSERT_NE(ch, 0);
        EXPECT_EQ(lib.PauseChannel(ch, true), 1);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPaused);
        EXPECT_EQ(lib.StartChannel(ch), 1);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
        e.end(s, ch);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kEnded);
    }
}

TEST_F(SoundLibraryTest, ChannelSampleAndLibraryPausesAreApart)
{
    int s = Load("loop.wav", Constant(4410, 44100, 100));
    int ch = Play(s, true);
    lib.PauseChannel(ch, true);
    lib.PauseSample(s, true);
    lib.StartChannel(ch);
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPaused); // the sample still holds it
    int later = Play(s, true);
    EXPECT_EQ(lib.ChannelStatus(later), SoundLibrary::kPaused); // held from its start
    lib.PauseSample(s, false);
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
    EXPECT_EQ(lib.ChannelStatus(later), SoundLibrary::kPlaying);
    lib.Pause(true);
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPaused);
    lib.PauseSample(s, true);
    lib.PauseSample(s, false);
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPaused); // the library still holds it
    lib.Pause(false);
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
    // A channel made with start 0 waits for its start.
    int waiting = lib.PlaySample(s, true, 1, 0, 0, 100, 44100, 50);
    EXPECT_EQ(lib.ChannelStatus(waiting), SoundLibrary::kPaused);
}

TEST_F(SoundLibraryTest, ARampContinuesSampleExactlyAfterPauseAndStart)
{
    int s = Load("ramp.wav", Ramp(20000, 44100));
    platform.audio.StartCapture();
    int ch = Play(s);
    lib.Advance(100);
    lib.PauseChannel(ch, true);
    lib.Advance(50);
    lib.StartChannel(ch);
    lib.Advance(100);
    std::vector<int16_t> got = Left(platform.audio.TakeCaptured());
    std::vector<int16_t> want;
    for (int i = 0; i < 4410; ++i)
        want.push_back(int16_t(i));
    want.insert(want.end(), 2205, 0);
    for (int i = 4410; i < 8820; ++i)
        want.push_back(int16_t(i));
    EXPECT_EQ(got, want);
}

TEST_F(SoundLibraryTest, VolumesAreLinearAndGroupCallsSkipWorkerChannels)
{
    int s = Load("c.wav", Constant(44100, 44100, 1000));
    platform.audio.StartCapture();
    struct Case {
        int volume;
        int16_t level;
    } cases[] = {{100, 1000}, {50, 500}, {0, 0}};
    for (const Case& c : cases) {
        int ch = Play(s, true, c.volume);
        lib.Advance(10);
        EXPECT_EQ(Left(platform.audio.TakeCaptured()).back(), c.level) << c.volume;
        lib.StopChannel(ch);
    }
    // Two channels of one group; the one with a worker keeps its volume.
    int owned = Play(s, true, 100, 7);
    int plain = Play(s, true, 100, 7);
    lib.SetChannelWorker(owned, [](int, void*) { return 1; }, nullptr, 1000);
    lib.SetGroupVolume(7, 50);
    lib.SetGroupVolume(8, 0);
    lib.Advance(10);
    EXPECT_EQ(Left(platform.audio.TakeCaptured()).back(), 1500);
    lib.SetChannelVolume(plain, 25);
    lib.SetChannelVolume(owned, 50);
    lib.Advance(10);
    EXPECT_EQ(Left(platform.audio.TakeCaptured()).back(), 750);
    // Later channels of the group start at their own play volume.
    lib.Stop();
    Play(s, true, 100, 7);
    lib.Advance(10);
    EXPECT_EQ(Left(platform.audio.TakeCaptured()).back(), 1000);
}

TEST_F(SoundLibraryTest, The33rdChannelReplacesTheOldestNonLoopingOne)
{
    int s = Load("c.wav", Constant(44100, 44100, 10));
    std::vector<int> chans;
    chans.push_back(Play(s, true));
    for (int i = 1; i < 32; ++i)
        chans.push_back(Play(s, false));
    int extra = Play(s, false);
    EXPECT_NE(extra, 0);
    EXPECT_EQ(lib.ChannelStatus(chans[0]), SoundLibrary::kPlaying); // looping: kept
    EXPECT_EQ(lib.ChannelStatus(chans[1]), SoundLibrary::kEnded);   // oldest non-looping
    EXPECT_EQ(lib.ChannelStatus(chans[2]), SoundLibrary::kPlaying);

    lib.Stop();
    for (int i = 0; i < 32; ++i)
        ASSERT_NE(Play(s, true), 0);
    EXPECT_EQ(Play(s, true), 0);
    EXPECT_EQ(Play(s, false), 0);
}

struct WorkerLog {
    explicit WorkerLog(NullPlatform* p) : platform(p) {}
    NullPlatform* platform;
    std::vector<uint32_t> times;
    std::vector<int> channels;
    std::function<void(int channel)> then;
    static int Call(int channel, void* data)
    {
        auto* log = static_cast<WorkerLog*>(data);
        log->times.push_back(log->platform->clock.NowMs());
        log->channels.push_back(channel);
        if (log->then)
            log->then(channel);
        return 0;
    }
};

TEST_F(SoundLibraryTest, WorkersRunOncePerPeriodUntilReplacedRemovedOrEnded)
{
    int s = Load("loop.wav", Constant(4410, 44100, 100));
    WorkerLog a{&platform}, b{&platform};
    int ch = Play(s, true);
    lib.SetChannelWorker(ch, &WorkerLog::Call, &a, 50);
    lib.Advance(1000);
    ASSERT_EQ(a.times.size(), 20u);
    EXPECT_EQ(a.times.front(), 50u);
    EXPECT_EQ(a.times.back(), 1000u);
    EXPECT_EQ(a.channels.front(), ch);

    // Called while paused too; replaced: the old one never again.
    lib.PauseChannel(ch, true);
    lib.SetChannelWorker(ch, &WorkerLog::Call, &b, 100);
    lib.Advance(300);
    EXPECT_EQ(a.times.size(), 20u);
    EXPECT_EQ(b.times, (std::vector<uint32_t>{1100, 1200, 1300}));

    // A worker that removes itself, one that replaces itself, one that stops its channel.
    struct Case {
        const char* what;
        std::function<void(int)> then;
        size_t calls;
        int status;
    } cases[] = {
        {"removes itself", [&](int c) { lib.SetChannelWorker(c, nullptr, nullptr, 100); }, 1, SoundLibrary::kPlaying},
        {"replaces itself", [&](int c) { lib.SetChannelWorker(c, &WorkerLog::Call, &b, 100); }, 1,
         SoundLibrary::kPlaying},
        {"stops its channel", [&](int c) { lib.StopChannel(c); }, 1, SoundLibrary::kEnded},
        {"unloads its sample", [&](int) { lib.UnloadSample(s); }, 1, SoundLibrary::kEnded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s = Load("loop.wav", Constant(4410, 44100, 100));
        WorkerLog w{&platform};
        w.then = c.then;
        int chan = Play(s, true);
        lib.SetChannelWorker(chan, &WorkerLog::Call, &w, 50);
        lib.Advance(500);
        EXPECT_EQ(w.times.size(), c.calls);
        EXPECT_EQ(lib.ChannelStatus(chan), c.status);
        lib.StopChannel(chan);
    }

    // Silent once its (non-looping) channel has ended.
    int shortS = Load("short.wav", Constant(4410 * 3, 44100, 100)); // 300 ms
    WorkerLog w{&platform};
    int chan = Play(shortS);
    lib.SetChannelWorker(chan, &WorkerLog::Call, &w, 50);
    lib.Advance(1000);
    EXPECT_EQ(w.times.size(), 5u); // 50 .. 250; at 300 the channel has ended
}

TEST_F(SoundLibraryTest, AnUnstartedLibraryAnswersZero)
{
    int s = Load("a.wav", Constant(100, 44100, 1));
    int ch = Play(s, true);
    EXPECT_LT(lib.Init(GameParams()), 0); // a second start without free
    lib.Free();
    EXPECT_EQ(lib.Free(), 0);
    files().Put("a.wav", Constant(100, 44100, 1));
    std::function<int()> calls[] = {
        [&] { return lib.SetSpeakerMode(3); },
        [&] { return lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release); },
        [&] { return lib.Pause(true); },
        [&] { return lib.Stop(); },
        [&] { return lib.LoadSample("a.wav", 0, nullptr); },
        [&] { return Play(s); },
        [&] { return lib.StopSample(s); },
        [&] { return lib.PauseSample(s, true); },
        [&] { return lib.UnloadSample(s); },
        [&] { return lib.ChannelStatus(ch); },
        [&] { return lib.StartChannel(ch); },
        [&] { return lib.StopChannel(ch); },
        [&] { return lib.PauseChannel(ch, true); },
        [&] { return lib.SetChannelVolume(ch, 5); },
        [&] { return lib.SetChannelWorker(ch, nullptr, nullptr, 5); },
        [&] { return lib.SetGroupVolume(1, 5); },
    };
    for (auto& call : calls)
        EXPECT_EQ(call(), 0);
    // Started again, the ids go on.
    ASSERT_EQ(lib.Init(GameParams()), 0);
    files().Install(lib);
    EXPECT_EQ(lib.LoadSample("a.wav", 0, nullptr), s + 1);
}

TEST_F(SoundLibraryTest, ScriptedFailuresAndBalancedMemory)
{
    lib.Free();
    lib.FailInit();
    EXPECT_LT(lib.Init(GameParams()), 0);
    lib.FailInit(false);
    SoundLibrary::InitParams other = GameParams();
    other.values[1] = 22050;
    EXPECT_LT(lib.Init(other), 0);
    ASSERT_EQ(lib.Init(GameParams()), 0);
    files().Install(lib);
    lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release);

    files().Put("a.wav", Constant(1000, 44100, 5));
    lib.FailLoad("a.wav");
    EXPECT_EQ(lib.LoadSample("a.wav", 0, nullptr), 0);
    files().Put("b.wav", Constant(1000, 44100, 5));
    lib.FailNextAllocation();
    EXPECT_EQ(lib.LoadSample("b.wav", 0, nullptr), 0);
    int b = lib.LoadSample("b.wav", 0, nullptr);
    EXPECT_NE(b, 0);
    files().Put("t.ogg", Fixture("tone.ogg"));
    EXPECT_NE(lib.LoadSample("t.ogg", 0, nullptr), 0);
    Play(b, true);
    lib.Advance(100);
    // The wave's samples, the Ogg file's samples, and its bytes, given back
    // once it was decoded.
    EXPECT_EQ(CountingMemory::allocations, 3);
    EXPECT_EQ(CountingMemory::releases, 1);
    lib.Free();
    EXPECT_EQ(CountingMemory::releases, CountingMemory::allocations);
    EXPECT_EQ(files().OpenHandles(), 0);
}

// second.ogg: one second of stereo at 44100 Hz made by the Ogg fixture tool.
std::vector<int16_t> DecodedLeft(const std::string& ogg)
{
    MemoryByteSource src(ogg.data(), ogg.size());
    OggDecoder dec;
    if (!dec.Open(src))
        return {};
    std::vector<int16_t> all(dec.Bytes() / 2);
    if (!dec.Read(reinterpret_cast<uint8_t*>(all.data()), dec.Bytes()))
        return {};
    return Left(all);
}

TEST_F(SoundLibraryTest, AnOggSampleIsDecodedInTheBackgroundAndItsChannelWaitsForIt)
{
    const std::string ogg = Fixture("second.ogg");
    const std::vector<int16_t> want = DecodedLeft(ogg);
    ASSERT_EQ(want.size(), 44100u);
    const uint32_t block = SoundLibrary::kDecodeBlockFrames;

    lib.HoldDecoding();
    int s = Load("music.ogg", ogg);
    ASSERT_NE(s, 0);
    // The load has read the file and knows the length; nothing is decoded yet.
    EXPECT_EQ(files().OpenHandles(), 0);
    EXPECT_EQ(lib.SampleFrames(s), 44100u);
    EXPECT_EQ(lib.SampleFramesDecoded(s), 0u);

    platform.audio.StartCapture();
    int ch = Play(s);
    lib.Advance(100); // the channel lives and waits, silent
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kPlaying);
    EXPECT_TRUE(lib.DecodeBlocks(1));
    EXPECT_EQ(lib.SampleFramesDecoded(s), block);
    lib.Advance(200); // plays the first block (less the frame to blend with) and waits again
    lib.HoldDecoding(false);
    lib.Advance(2000); // the rest follows on where it stopped
    EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kEnded);
    EXPECT_EQ(lib.SampleFramesDecoded(s), 44100u);

    std::vector<int16_t> expect(4410, 0);
    expect.insert(expect.end(), want.begin(), want.begin() + (block - 1));
    expect.insert(expect.end(), 8820 - (block - 1), 0);
    expect.insert(expect.end(), want.begin() + (block - 1), want.end());
    std::vector<int16_t> got = Left(platform.audio.TakeCaptured());
    ASSERT_GE(got.size(), expect.size());
    EXPECT_TRUE(std::equal(expect.begin(), expect.end(), got.begin()));
    EXPECT_TRUE(std::all_of(got.begin() + long(expect.size()), got.end(), [](int16_t v) { return v == 0; }));
}

TEST_F(SoundLibraryTest, EndingASampleWhileItIsDecodedIsSafe)
{
    const std::string ogg = Fixture("second.ogg");
    // A worker that stops its channel, and unloads its sample if asked to.
    struct Ender {
        SoundLibrary* lib;
        int sample;
        bool unload;
        static int Step(int channel, void* data)
        {
            auto* e = static_cast<Ender*>(data);
            e->lib->StopChannel(channel);
            return e->unload ? e->lib->UnloadSample(e->sample) : 1;
        }
    } ender{&lib, 0, false};
    auto FromWorker = [&](int s, int ch, bool unload) {
        ender = Ender{&lib, s, unload};
        lib.SetChannelWorker(ch, &Ender::Step, &ender, 10);
        lib.Advance(10);
    };
    struct Case {
        const char* what;
        std::function<void(int sample, int channel)> act;
        bool decodingGoesOn;
    } cases[] = {
        {"unload", [&](int s, int) { lib.UnloadSample(s); }, false},
        {"sample stop", [&](int s, int) { lib.StopSample(s); }, true},
        {"stop all", [&](int, int) { lib.Stop(); }, true},
        {"channel stop from its worker", [&](int s, int ch) { FromWorker(s, ch, false); }, true},
        {"unload from its worker", [&](int s, int ch) { FromWorker(s, ch, true); }, false},
        {"free", [&](int, int) { lib.Free(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lib.Free();
        CountingMemory::Reset();
        ASSERT_EQ(lib.Init(GameParams()), 0);
        files().Install(lib);
        lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release);
        lib.HoldDecoding();
        int s = Load("music.ogg", ogg);
        ASSERT_NE(s, 0);
        int ch = Play(s, true);
        lib.DecodeBlocks(2);
        lib.Advance(20);
        c.act(s, ch);
        EXPECT_EQ(lib.ChannelStatus(ch), SoundLibrary::kEnded);
        // An unloaded sample's decoding is gone, and with it all its memory.
        EXPECT_EQ(lib.DecodeBlocks(1), c.decodingGoesOn);
        if (!c.decodingGoesOn) {
            EXPECT_EQ(CountingMemory::releases, CountingMemory::allocations);
        }
        lib.HoldDecoding(false);
        lib.Advance(10);
        if (c.decodingGoesOn) {
            EXPECT_EQ(lib.SampleFramesDecoded(s), 44100u);
            EXPECT_EQ(lib.ChannelStatus(Play(s)), SoundLibrary::kPlaying);
        }
    }
    lib.Free();
    EXPECT_EQ(CountingMemory::releases, CountingMemory::allocations);
    EXPECT_EQ(files().OpenHandles(), 0);
}

TEST_F(SoundLibraryTest, TheCallLogHoldsEveryCallWithItsArguments)
{
    lib.TakeCalls();
    SoundLibrary::SampleDefaults d;
    d.group = 2;
    files().Put("a.wav", Constant(10, 44100, 5));
    int s = lib.LoadSample("a.wav", 0, &d);
    lib.PlaySample(s, false, 2, 1, 0, 70, 44100, 50);
    lib.SetChannelWorker(1, nullptr, nullptr, 100);
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"LoadSample(a.wav, 0, {2, 0, 0, 100, 50, 1, 1e+09})",
                                                          "PlaySample(1, 0, 2, 1, 0, 70, 44100, 50)",
                                                          "SetChannelWorker(1, none, 100)"}));
}

} // namespace

// With its own thread, the library runs a worker once the platform clock
// reaches its time, also one set while the thread sleeps with nothing due,
// and the thread ends with the library.
TEST(SoundLibraryThread, RunsWorkersOnceTheyAreDue)
{
    NullPlatform platform;
    MemorySoundFiles::Get().Clear();
    std::atomic<int> calls{0};
    {
        SoundLibrary lib(true);
        ASSERT_EQ(lib.Init(GameParams()), 0);
        MemorySoundFiles::Get().Install(lib);
        MemorySoundFiles::Get().Put("loop.wav", Constant(4410, 44100, 100));
        const int sample = lib.LoadSample("loop.wav", 0, nullptr);
        ASSERT_GT(sample, 0);
        const int channel = lib.PlaySample(sample, true, 1, 1, 0, 100, 44100, 50);
        ASSERT_GT(channel, 0);
        auto waitFor = [&](int wanted) {
            for (int i = 0; i < 2000 && calls.load() < wanted; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return calls.load();
        };
        ASSERT_EQ(lib.SetChannelWorker(
                      channel, [](int, void* data) { return ++*static_cast<std::atomic<int>*>(data); }, &calls, 1000),
                  1);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(calls.load(), 0) << "not due before the clock reaches it";
        platform.clock.Advance(1000);
        EXPECT_EQ(waitFor(1), 1);
        platform.clock.Advance(1000);
        EXPECT_EQ(waitFor(2), 2);
    }
    const int atEnd = calls.load();
    platform.clock.Advance(5000);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(calls.load(), atEnd) << "no worker runs after the library ended";
}
