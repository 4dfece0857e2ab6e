// The sound library's two costs: mixing its channels on the audio thread, and
// loading a long Ogg file, which the caller waits for only as far as the
// file's bytes and headers (its samples are decoded on the library's thread).
//   Mix32Channels: one second of 32 channels (half of them at 22050 Hz);
//     "vs_one_channel" is its time over one channel's in this process,
//     "of_real_time" the share of the second of sound it took.
//   LoadOggThreeMinutes: a three-minute stereo Ogg Vorbis file loaded by a
//     library with its own thread; the measured time is the load call, which
//     is what the main loop waits for.
//     "load_vs_whole_decode" is the load call's time over decoding the file
//     whole in this thread (what a load without the background would cost),
//     "load_vs_reading_bytes" over reading the file's bytes only,
//     "decoded_vs_whole_decode" the time until the background has decoded
//     all of it, "first_block_vs_whole_decode" until the first block is
//     ready to play, "stalls_main_loop" is 1 when one load call takes longer
//     than 200 ms.
#include "platform/NullPlatform.h"
#include "platform/audio/MemoryByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/platform/soundlib/MemorySoundFiles.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

using namespace soundtest;

namespace {

using Seconds = std::chrono::duration<double>;

std::string Tone(uint32_t rate)
{
    std::vector<int16_t> s;
    for (uint32_t i = 0; i < rate; ++i)
        s.push_back(int16_t(3000 * std::sin(2 * M_PI * 440 * i / rate)));
    return WaveFile(1, rate, 16, Pcm16(s));
}

struct Library {
    Library()
    {
        platform.sound.Init(GameParams());
        MemorySoundFiles::Get().Install(platform.sound);
    }
    int Load(const std::string& name, const std::string& bytes)
    {
        MemorySoundFiles::Get().Put(name, bytes);
        return platform.sound.LoadSample(name.c_str(), 0, nullptr);
    }
    plat::NullPlatform platform;
};

// Seconds to mix one second of the channels playing now.
double MixOneSecond(plat::Mixer& mixer)
{
    static std::vector<int16_t> out(plat::Mixer::kOutputRate * 2);
    auto t0 = std::chrono::steady_clock::now();
    for (size_t done = 0; done < plat::Mixer::kOutputRate; done += 1024)
        mixer.Mix(out.data(), std::min<size_t>(1024, plat::Mixer::kOutputRate - done));
    benchmark::DoNotOptimize(out.data());
    return Seconds(std::chrono::steady_clock::now() - t0).count();
}

void Mix32Channels(benchmark::State& state)
{
    Library lib;
    int full = lib.Load("full.wav", Tone(44100));
    int half = lib.Load("half.wav", Tone(22050));
    plat::Mixer& mixer = lib.platform.audio.GetMixer();
    int one = lib.platform.sound.PlaySample(full, true, 1, 1, 0, 100, 44100, 50);
    double reference = 0;
    for (int i = 0; i < 5; ++i)
        reference += MixOneSecond(mixer);
    reference /= 5;
    lib.platform.sound.StopChannel(one);
    for (int i = 0; i < 32; ++i)
        lib.platform.sound.PlaySample(i % 2 ? half : full, true, 1, 1, 0, 50, 44100, 30 + i);
    double total = 0;
    for (auto _ : state) {
        double s = MixOneSecond(mixer);
        total += s;
        state.SetIterationTime(s);
    }
    double per = total / double(state.iterations());
    state.counters["vs_one_channel"] = per / reference;
    state.counters["of_real_time"] = per;
}
BENCHMARK(Mix32Channels)->UseManualTime()->Unit(benchmark::kMillisecond);

// The encoder (libvorbis) and the decoder (Tremor) share symbol names, so
// the file is made by the fixture tool in a process of its own.
std::string ThreeMinuteOgg()
{
    std::string path = std::string(ZELK_BENCH_TMP) + "/three_minutes.ogg";
    std::string command = std::string(ZELK_OGG_TOOL) + " " + path + " 2 44100 " + std::to_string(44100L * 180);
    if (std::system(command.c_str()) != 0)
        return std::string();
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Seconds to decode the whole file in this thread.
double DecodeWhole(const std::string& ogg)
{
    auto t0 = std::chrono::steady_clock::now();
    plat::MemoryByteSource src(ogg.data(), ogg.size());
    plat::OggDecoder dec;
    if (!dec.Open(src))
        return 0;
    std::vector<uint8_t> pcm(dec.Bytes());
    if (!dec.Read(pcm.data(), pcm.size()))
        return 0;
    benchmark::DoNotOptimize(pcm.data());
    return Seconds(std::chrono::steady_clock::now() - t0).count();
}

void LoadOggThreeMinutes(benchmark::State& state)
{
    static const std::string ogg = ThreeMinuteOgg();
    if (ogg.empty()) {
        state.SkipWithError("the Ogg file could not be made");
        return;
    }
    plat::NullPlatform platform; // the services: audio output and clock
    plat::SoundLibrary lib(true);
    lib.Init(GameParams());
    MemorySoundFiles::Get().Install(lib);
    MemorySoundFiles::Get().Put("music.ogg", ogg);
    plat::SoundLibrary::OpenFn open;
    plat::SoundLibrary::SeekFn seek;
    plat::SoundLibrary::ReadFn read;
    plat::SoundLibrary::CloseFn close;
    lib.GetFileCallbacks(open, seek, read, close);
    double reading = 0;
    for (int i = 0; i < 5; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        intptr_t f = open("music.ogg");
        std::vector<char> bytes(ogg.size());
        read(f, bytes.data(), int(bytes.size()));
        close(f);
        benchmark::DoNotOptimize(bytes.data());
        reading += Seconds(std::chrono::steady_clock::now() - t0).count();
    }
    reading /= 5;
    const double whole = DecodeWhole(ogg);
    if (whole <= 0) {
        state.SkipWithError("the file did not decode");
        return;
    }
    double total = 0, worst = 0, first = 0, decoded = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        int id = lib.LoadSample("music.ogg", 0, nullptr);
        double s = Seconds(std::chrono::steady_clock::now() - t0).count();
        if (!id) {
            state.SkipWithError("the file did not load");
            break;
        }
        while (lib.SampleFramesDecoded(id) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        first += Seconds(std::chrono::steady_clock::now() - t0).count();
        while (lib.SampleFramesDecoded(id) < lib.SampleFrames(id))
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        decoded += Seconds(std::chrono::steady_clock::now() - t0).count();
        lib.UnloadSample(id);
        total += s;
        worst = std::max(worst, s);
        state.SetIterationTime(s);
    }
    const double n = double(state.iterations());
    state.counters["load_vs_whole_decode"] = total / n / whole;
    state.counters["load_vs_reading_bytes"] = total / n / reading;
    state.counters["first_block_vs_whole_decode"] = first / n / whole;
    state.counters["decoded_vs_whole_decode"] = decoded / n / whole;
    state.counters["stalls_main_loop"] = worst > 0.2 ? 1 : 0;
    state.counters["file_mb"] = double(ogg.size()) / 1e6;
}
BENCHMARK(LoadOggThreeMinutes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
