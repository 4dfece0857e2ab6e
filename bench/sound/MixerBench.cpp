// The mixer is the one real-time path of the sound code: SDL's audio thread
// asks it for 1024 frames at a time. These measure a full channel table (32
// voices) resampled from the rates sounds come in, against the 23 ms a
// 1024-frame block lasts.
#include "platform/audio/Mixer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

std::shared_ptr<plat::SampleData> Tone(uint16_t channels, uint16_t bits, uint32_t frames)
{
    auto d = std::make_shared<plat::SampleData>(frames * channels * bits / 8, channels, bits);
    for (uint32_t i = 0; i < frames * channels; ++i) {
        double v = std::sin(i * 0.05);
        if (bits == 16) {
            int16_t s = int16_t(v * 12000);
            std::memcpy(&d->bytes[i * 2], &s, 2);
        } else {
            d->bytes[i] = uint8_t(128 + v * 100);
        }
    }
    return d;
}

// Arguments: voices, source rate, channels, bits.
void MixVoices(benchmark::State& state)
{
    plat::Mixer mixer;
    auto data = Tone(uint16_t(state.range(2)), uint16_t(state.range(3)), 44100);
    for (int v = 0; v < state.range(0); ++v) {
        auto id = mixer.CreateVoice(data, uint32_t(state.range(1)));
        mixer.SetGains(id, 0.7f, 0.4f);
        mixer.Start(id, true);
    }
    std::vector<int16_t> out(1024 * 2);
    for (auto _ : state) {
        mixer.Mix(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}

// The same with every voice's gains changed before each block, as music
// fades and volume sliders do: each block then mixes a gain ramp.
void MixVoicesRamping(benchmark::State& state)
{
    plat::Mixer mixer;
    auto data = Tone(uint16_t(state.range(2)), uint16_t(state.range(3)), 44100);
    std::vector<plat::Mixer::VoiceId> voices;
    for (int v = 0; v < state.range(0); ++v) {
        voices.push_back(mixer.CreateVoice(data, uint32_t(state.range(1))));
        mixer.Start(voices.back(), true);
    }
    std::vector<int16_t> out(1024 * 2);
    float gain = 0.0f;
    for (auto _ : state) {
        gain = gain < 1.0f ? gain + 0.05f : 0.0f;
        for (auto id : voices)
            mixer.SetGains(id, gain, 1.0f - gain);
        mixer.Mix(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}

BENCHMARK(MixVoicesRamping)->Args({1, 44100, 2, 16})->Args({32, 44100, 2, 16});

BENCHMARK(MixVoices)
    ->Args({1, 44100, 2, 16})
    ->Args({32, 44100, 2, 16})
    ->Args({32, 22050, 1, 16})
    ->Args({32, 11025, 1, 8})
    ->Args({32, 48000, 2, 16});

} // namespace
