#pragma once
#include "synth/Voice.h"

// The two music loops: stereo, a whole number of bars, tails wrapped to the
// start so the end runs into the beginning without a seam.
namespace contentgen {

struct Song {
    double bpm;
    int bars;                  // 4/4
    std::vector<int> chords;   // root (MIDI) per bar, repeated; negative: minor chord on -root
    int swingSteps;            // melody notes per bar
    float drive;               // 0 calm .. 1 brisk (drums and note density)
    uint32_t seed;
};

Pcm ComposeSong(const Song& song);
const Song& MenuSong();  // relaxed, 100 BPM, 24 bars of C major
const Song& LevelSong(); // brisk, 124 BPM, 32 bars from A minor to C major

} // namespace contentgen
