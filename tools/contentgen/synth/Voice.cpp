#include "synth/Voice.h"

#include <algorithm>
#include <cmath>

namespace contentgen {

namespace {

double Oscillator(Wave w, double phase)
{
    double p = phase - std::floor(phase);
    switch (w) {
    case Wave::Sine:
        return std::sin(2.0 * M_PI * p);
    case Wave::Square:
        return p < 0.5 ? 0.6 : -0.6;
    case Wave::Triangle:
        return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case Wave::Saw:
        return (2.0 * p - 1.0) * 0.6;
    }
    return 0.0;
}

} // namespace

Pcm::Pcm(int channelCount, double seconds)
    : channels(channelCount), samples(size_t(std::lround(seconds * kSampleRate)) * size_t(channelCount), 0.0f)
{
}

void Pcm::Add(long frame, float v, float pan, bool wrap)
{
    long frames = Frames();
    if (frames == 0)
        return;
    if (frame < 0 || frame >= frames) {
        if (!wrap)
            return;
        frame = ((frame % frames) + frames) % frames;
    }
    if (channels == 1) {
        samples[size_t(frame)] += v;
        return;
    }
    float left = std::min(1.0f, 1.0f - pan), right = std::min(1.0f, 1.0f + pan);
    samples[size_t(frame) * 2] += v * left;
    samples[size_t(frame) * 2 + 1] += v * right;
}

void AddNote(Pcm& out, const Note& n, bool wrap)
{
    long first = std::lround(n.start * kSampleRate);
    long count = std::lround((n.length + n.release) * kSampleRate);
    double phase = 0.0;
    for (long i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double env;
        if (t < n.attack)
            env = t / n.attack;
        else
            env = n.sustain + (1.0 - n.sustain) * std::exp(-(t - n.attack) / std::max(1e-4, n.decay));
        if (t > n.length)
            env *= std::max(0.0, 1.0 - (t - n.length) / std::max(1e-4, n.release));
        double hz = n.hz;
        if (n.hzEnd > 0)
            hz = n.hz * std::pow(n.hzEnd / n.hz, std::min(1.0, t / std::max(1e-4, n.length)));
        if (n.vibratoHz > 0)
            hz *= 1.0 + n.vibratoDepth * std::sin(2.0 * M_PI * n.vibratoHz * t);
        phase += hz / kSampleRate;
        out.Add(first + i, float(n.amp * env * Oscillator(n.wave, phase)), n.pan, wrap);
    }
}

void AddBell(Pcm& out, double start, double hz, float amp, double decay, float pan, bool wrap)
{
    static const double kRatios[] = {1.0, 2.0, 2.76, 5.40, 8.93};
    static const double kLevels[] = {1.0, 0.45, 0.3, 0.15, 0.08};
    long first = std::lround(start * kSampleRate);
    long count = std::lround(decay * 5.0 * kSampleRate);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double v = 0.0;
        for (size_t k = 0; k < 5; ++k)
            v += kLevels[k] * std::exp(-t * (1.0 + double(k)) / decay) * std::sin(2.0 * M_PI * hz * kRatios[k] * t);
        double attack = std::min(1.0, t / 0.002);
        out.Add(first + i, float(amp * attack * v / 2.0), pan, wrap);
    }
}

float Noise::Next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return float(double(mState) / 2147483648.0 - 1.0);
}

void AddNoise(Pcm& out, const NoiseBurst& b, bool wrap)
{
    Noise noise(b.seed);
    long first = std::lround(b.start * kSampleRate);
    long count = std::lround(b.length * kSampleRate);
    double low = 0.0, band = 0.0; // state-variable filter
    for (long i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double hz = b.hz;
        if (b.hzEnd > 0)
            hz = b.hz * std::pow(b.hzEnd / b.hz, t / std::max(1e-4, b.length));
        double f = 2.0 * std::sin(M_PI * std::min(hz, kSampleRate / 6.0) / kSampleRate);
        double in = noise.Next();
        double high = in - low - band / b.q;
        band += f * high;
        low += f * band;
        double env = std::min(1.0, t / std::max(1e-4, b.attack)) *
                     std::min(1.0, (b.length - t) / std::max(1e-4, b.release));
        if (b.gateHz > 0)
            env *= std::sin(M_PI * b.gateHz * t) > 0 ? 1.0 : 0.0;
        out.Add(first + i, float(b.amp * std::max(0.0, env) * band), b.pan, wrap);
    }
}

double NoteHz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

} // namespace contentgen
