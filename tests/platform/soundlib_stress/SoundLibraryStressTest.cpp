#include "platform/NullPlatform.h"
#include "platform/soundlib/SoundLibrary.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/platform/soundlib/MemorySoundFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

using namespace soundtest;

namespace {

// A track that fades out as the music does: a worker steps its volume down
// and at the end stops the channel and unloads the sample, under the lock.
struct Fade {
    plat::SoundLibrary* lib = nullptr;
    int sample = 0;
    int level = 100;
    std::atomic<int>* finished = nullptr;
    static int Step(int channel, void* data)
    {
        auto* f = static_cast<Fade*>(data);
        f->level -= 10;
        f->lib->SetChannelVolume(channel, f->level);
        if (f->level <= 0) {
            f->lib->SetChannelWorker(channel, nullptr, nullptr, 100);
            f->lib->StopChannel(channel);
            f->lib->UnloadSample(f->sample);
            f->finished->fetch_add(1);
        }
        return 1;
    }
};

} // namespace

// Four threads play, stop, pause, set volumes and change tracks while the
// library's own thread runs the fades; afterwards every fade has finished
// and nothing is left playing but what the threads left looping.
TEST(SoundLibraryStress, ThreadsAndTheWorkerThreadShareTheLibrary)
{
    CountingMemory::Reset();
    plat::NullPlatform platform;
    plat::SoundLibrary lib(true);
    ASSERT_EQ(lib.Init(GameParams()), 0);
    MemorySoundFiles::Get().Put("tone.wav", WaveFile(1, 22050, 16, Pcm16(std::vector<int16_t>(2205, 900))));
    MemorySoundFiles::Get().Install(lib);
    lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release);

    constexpr int kThreads = 4, kRounds = 100;
    std::atomic<int> started{0}, finished{0}, running{kThreads};
    std::vector<std::unique_ptr<Fade>> fades(kThreads * kRounds);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            std::mt19937 rng{unsigned(t)};
            int sample = lib.LoadSample("tone.wav", 0, nullptr);
            for (int r = 0; r < kRounds; ++r) {
                int ch = lib.PlaySample(sample, rng() % 2, t, 1, 0, int(rng() % 101), 44100, 50);
                switch (rng() % 5) {
                case 0: lib.PauseChannel(ch, true); break;
                case 1: lib.StopChannel(ch); break;
                case 2: lib.SetGroupVolume(t, int(rng() % 101)); break;
                case 3: lib.PauseSample(sample, rng() % 2); break;
                default: {
                    // A change of track: a new sample fades out on its own.
                    plat::SoundLibrary::Hold hold(lib);
                    Fade& f = *(fades[size_t(t * kRounds + r)] = std::make_unique<Fade>());
                    f.lib = &lib;
                    f.sample = lib.LoadSample("tone.wav", 0, nullptr);
                    f.finished = &finished;
                    int track = lib.PlaySample(f.sample, true, -1, 1, 0, 100, 44100, 50);
                    if (track && lib.SetChannelWorker(track, &Fade::Step, &f, 10))
                        started.fetch_add(1);
                    else
                        lib.UnloadSample(f.sample);
                }
                }
                lib.ChannelStatus(ch);
            }
            running.fetch_sub(1);
        });
    // This thread drives simulated time, about as fast as real time so that
    // the mix keeps up even under ThreadSanitizer, until every thread is
    // through and every fade has ended (bounded in real time).
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while ((running > 0 || finished < started) && std::chrono::steady_clock::now() < giveUp) {
        platform.clock.Advance(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (auto& th : threads)
        th.join();
    EXPECT_GT(started.load(), 0);
    EXPECT_EQ(finished.load(), started.load());
    lib.Free();
    EXPECT_EQ(CountingMemory::releases, CountingMemory::allocations);
}

// Ogg samples decode on the library's thread while the channels that play
// them are mixed on the caller's and other threads; samples are unloaded
// and the library freed while their decoding runs.
TEST(SoundLibraryStress, OggSamplesDecodeOnTheLibraryThreadWhileTheyPlay)
{
    CountingMemory::Reset();
    plat::NullPlatform platform;
    plat::SoundLibrary lib(true);
    ASSERT_EQ(lib.Init(GameParams()), 0);
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/second.ogg", std::ios::binary);
    MemorySoundFiles::Get().Put("music.ogg", std::string(std::istreambuf_iterator<char>(in), {}));
    MemorySoundFiles::Get().Install(lib);
    lib.SetMemoryCallbacks(&CountingMemory::Allocate, &CountingMemory::Release);

    // Time runs and the mix follows it on a thread of its own.
    std::atomic<bool> done{false};
    std::thread mixing([&] {
        while (!done) {
            platform.clock.Advance(1);
            lib.ChannelStatus(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    auto decoded = [&](int s) {
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (lib.SampleFramesDecoded(s) < lib.SampleFrames(s) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return lib.SampleFramesDecoded(s) == lib.SampleFrames(s);
    };
    for (int round = 0; round < 12; ++round) {
        int s = lib.LoadSample("music.ogg", 0, nullptr);
        ASSERT_NE(s, 0);
        EXPECT_EQ(lib.SampleFrames(s), 44100u);
        int ch = lib.PlaySample(s, true, -1, 1, 0, 100, 44100, 50);
        EXPECT_EQ(lib.ChannelStatus(ch), plat::SoundLibrary::kPlaying);
        switch (round % 3) {
        case 0: lib.UnloadSample(s); break; // most likely while it decodes
        case 1:
            EXPECT_TRUE(decoded(s));
            EXPECT_EQ(lib.ChannelStatus(ch), plat::SoundLibrary::kPlaying);
            lib.UnloadSample(s);
            break;
        default: break; // left playing
        }
    }
    lib.Free(); // with decodings still running
    done = true;
    mixing.join();
    EXPECT_EQ(CountingMemory::releases, CountingMemory::allocations);
    EXPECT_EQ(MemorySoundFiles::Get().OpenHandles(), 0);
}
