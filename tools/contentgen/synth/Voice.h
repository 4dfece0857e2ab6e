#pragma once
#include <cstdint>
#include <vector>

// The synthesiser's building blocks: notes, bells and filtered noise added
// into a mono or stereo buffer of float samples (-1..1) at 44.1 kHz.
namespace contentgen {

const int kSampleRate = 44100;

enum class Wave { Sine, Square, Triangle, Saw };

// A buffer of frames; stereo buffers interleave left and right.
struct Pcm {
    int channels = 1;
    std::vector<float> samples;
    Pcm(int channelCount, double seconds);
    long Frames() const { return long(samples.size()) / channels; }
    // Adds v to the frame on both sides (pan -1 left .. 1 right); frames past
    // the end wrap to the start when wrap is set (seamless loops), otherwise
    // they are dropped.
    void Add(long frame, float v, float pan = 0.0f, bool wrap = false);
};

// A note: attack, exponential decay towards sustain, release at the end.
struct Note {
    double start = 0, length = 0.1;
    double hz = 440, hzEnd = 0; // hzEnd > 0: a glide from hz to hzEnd
    Wave wave = Wave::Sine;
    float amp = 0.5f;
    double attack = 0.005, decay = 0.2, sustain = 0.6, release = 0.05;
    float pan = 0;
    double vibratoHz = 0, vibratoDepth = 0; // depth as a fraction of hz
};
void AddNote(Pcm& out, const Note& n, bool wrap = false);

// A struck bell or ping: inharmonic partials decaying at their own rates.
void AddBell(Pcm& out, double start, double hz, float amp, double decay, float pan = 0, bool wrap = false);

// The tool's own noise source (xorshift), seeded: equal seeds, equal sounds.
class Noise {
public:
    explicit Noise(uint32_t seed) : mState(seed ? seed : 0x9E3779B9u) {}
    float Next(); // -1..1
private:
    uint32_t mState;
};

// Noise through a resonant band pass whose centre glides from hz to hzEnd,
// shaped by an attack and a release; gate > 0 chops it at that rate (Hz).
// Fields in the order a brace list gives them.
struct NoiseBurst {
    double start = 0, length = 0.1;
    double hz = 1000, hzEnd = 0, q = 1.0;
    float amp = 0.3f;
    double attack = 0.002, release = 0.05;
    double gateHz = 0;
    float pan = 0;
    uint32_t seed = 1;
};
void AddNoise(Pcm& out, const NoiseBurst& b, bool wrap = false);

// Frequency of a MIDI note number (69 = A 440 Hz).
double NoteHz(int midi);

} // namespace contentgen
