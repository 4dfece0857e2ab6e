#pragma once
// The animation player's track callbacks (not exported: the player installs
// them itself) and the effect it builds from static tables. Parameter 1 is
// the player's frame index (int32_t*), 2 its current sequence record
// (AnmSequence*), 3 its done flag (bool*).
#include "game/effects/AnimRecords.h"

#include <cstdint>

class Effect;

int32_t AnimFrameFromProgress(void* args);
int32_t AnimSetDoneFlag(void* args);
int32_t AnimFrameAndDone(void* args);
int32_t AnimNoOp(void* args);
int32_t AnimNoOp2(void* args);

struct EffectTrackEntry {
    int32_t id;
    AnimTrackParams params;
};

// For each of the trackCount entries: a track under its id with the entry's
// parameters, then controls 0 .. controlCounts[k] - 1 of the control table.
void BuildEffectFromTable(Effect* effect, int trackCount, const EffectTrackEntry* tracks,
                          const int* controlCounts, const AnimControl* controls);

// The player's table: one track, three controls.
extern const EffectTrackEntry kAnimPlayerTracks[1];
extern const int kAnimPlayerControlCounts[1];
extern const AnimControl kAnimPlayerControls[3];
