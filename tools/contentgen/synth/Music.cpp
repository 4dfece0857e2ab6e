#include "synth/Music.h"

#include <cmath>
#include <cstdlib>

namespace contentgen {

namespace {

// The chord tones above a root (major or minor triad).
std::vector<int> Triad(int chord)
{
    int root = std::abs(chord);
    return {root, root + (chord < 0 ? 3 : 4), root + 7};
}

void Kick(Pcm& p, double t)
{
    AddNote(p, Note{t, 0.12, 110, 45, Wave::Sine, 0.55f, 0.002, 0.08, 0.0, 0.05}, true);
}

void Snare(Pcm& p, double t, uint32_t seed)
{
    NoiseBurst b;
    b.start = t;
    b.length = 0.14;
    b.hz = 1800;
    b.q = 0.9;
    b.amp = 0.22f;
    b.release = 0.12;
    b.seed = seed;
    AddNoise(p, b, true);
}

void Hat(Pcm& p, double t, uint32_t seed, float pan)
{
    NoiseBurst b;
    b.start = t;
    b.length = 0.04;
    b.hz = 7500;
    b.q = 1.2;
    b.amp = 0.08f;
    b.release = 0.035;
    b.pan = pan;
    b.seed = seed;
    AddNoise(p, b, true);
}

} // namespace

Pcm ComposeSong(const Song& s)
{
    const double beat = 60.0 / s.bpm, bar = 4.0 * beat;
    Pcm p(2, bar * s.bars);
    Noise pick(s.seed);
    uint32_t seed = s.seed * 31u + 7u;
    int lastMelody = 72;
    for (int b = 0; b < s.bars; ++b) {
        double t0 = b * bar;
        int chord = s.chords[size_t(b) % s.chords.size()];
        std::vector<int> tones = Triad(chord);
        // Pad: the triad held over the bar, soft and wide.
        for (size_t i = 0; i < tones.size(); ++i)
            AddNote(p, Note{t0, bar - 0.1, NoteHz(tones[i]), 0, Wave::Triangle, 0.07f, 0.15, 0.6, 0.7, 0.25,
                            i == 0 ? -0.5f : i == 1 ? 0.5f : 0.0f, 4.0, 0.003},
                    true);
        // Bass: root on every beat (brisk) or on one and three (calm).
        int bassRoot = std::abs(chord) - 24;
        for (int k = 0; k < 4; ++k) {
            if (s.drive < 0.5f && k % 2)
                continue;
            int n = k == 3 && s.drive >= 0.5f ? bassRoot + 7 : bassRoot;
            AddNote(p, Note{t0 + k * beat, beat * 0.8, NoteHz(n), 0, Wave::Triangle, 0.3f, 0.005, 0.2, 0.5, 0.05},
                    true);
        }
        // Drums.
        for (int k = 0; k < 4; ++k) {
            if (k % 2 == 0 || s.drive >= 0.5f)
                Kick(p, t0 + k * beat);
            if (k % 2 == 1)
                Snare(p, t0 + k * beat, seed++);
            for (int h = 0; h < 2; ++h)
                if (s.drive >= 0.5f || h == 0)
                    Hat(p, t0 + (k + 0.5 * h) * beat, seed++, h ? 0.4f : -0.4f);
        }
        // Melody: steps on chord and scale tones near the last note.
        double step = bar / s.swingSteps;
        for (int k = 0; k < s.swingSteps; ++k) {
            if (pick.Next() < (s.drive - 0.8f))
                continue; // a rest now and then
            static const int kScale[] = {0, 2, 4, 5, 7, 9, 11};
            int target;
            if (k % 2 == 0) {
                target = tones[size_t(std::abs(int(pick.Next() * 3.0f))) % 3] + 12;
            } else {
                int degree = int((pick.Next() * 0.5f + 0.5f) * 6.99f);
                target = 60 + kScale[degree];
            }
            while (target < lastMelody - 6)
                target += 12;
            while (target > lastMelody + 6)
                target -= 12;
            if (target < 64)
                target += 12;
            if (target > 84)
                target -= 12;
            lastMelody = target;
            AddNote(p, Note{t0 + k * step, step * 0.85, NoteHz(target), 0, Wave::Sine, 0.16f, 0.01, 0.15, 0.5,
                            0.08, 0.2f, 5.0, 0.004},
                    true);
        }
    }
    // Keep well inside -1..1.
    float peak = 0.0f;
    for (float v : p.samples)
        peak = std::max(peak, std::fabs(v));
    if (peak > 0.9f)
        for (float& v : p.samples)
            v *= 0.9f / peak;
    return p;
}

const Song& MenuSong()
{
    static const Song kSong{100.0, 24, {60, -57, 65, 67}, 4, 0.3f, 1001};
    return kSong;
}

const Song& LevelSong()
{
    static const Song kSong{124.0, 32, {-57, -57, 65, 67, -57, -62, 64, 64, 65, 67, 60, 60, 65, 67, 60, 60}, 8, 0.85f,
                            2002};
    return kSong;
}

} // namespace contentgen
