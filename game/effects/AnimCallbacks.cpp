#include "game/effects/AnimCallbacks.h"

#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectWorld.h"

namespace {

struct Call {
    float t = 0;
    int32_t* frame = nullptr;
    const AnmSequence* sequence = nullptr;
    bool* done = nullptr;
};

Call Read(void* argument)
{
    Call call;
    auto* args = static_cast<AnimCallbackArgs*>(argument);
    if (!args || !args->owner)
        return call;
    call.t = args->progress;
    call.frame = static_cast<int32_t*>(args->owner->GetParam(1));
    call.sequence = static_cast<const AnmSequence*>(args->owner->GetParam(2));
    call.done = static_cast<bool*>(args->owner->GetParam(3));
    return call;
}

AnimControl PlayerControl(uint32_t flags, int32_t id, float start, float end, EffectCallback function)
{
    // Without ANIM_CONTROL_HAS_FUNCTION the track keeps no function: the
    // player installs it with ReplaceControl.
    AnimControl control;
    control.function = function;
    control.flags = flags;
    control.id = id;
    control.start = start;
    control.end = end;
    control.active = false;
    return control;
}

} // namespace

int32_t AnimFrameFromProgress(void* argument)
{
    Call call = Read(argument);
    if (call.frame && call.sequence && call.sequence->frameCount > 0)
        *call.frame = static_cast<int32_t>(float(call.sequence->frameCount - 1) * call.t);
    return 1;
}

int32_t AnimSetDoneFlag(void* argument)
{
    if (bool* done = Read(argument).done)
        *done = true;
    return 1;
}

int32_t AnimFrameAndDone(void* argument)
{
    Call call = Read(argument);
    if (call.done)
        *call.done = true;
    if (call.frame && call.sequence)
        *call.frame = static_cast<int32_t>(float(call.sequence->framesPerSecond) * call.t);
    return 1;
}

int32_t AnimNoOp(void*) { return 1; }

int32_t AnimNoOp2(void*) { return 1; }

void BuildEffectFromTable(Effect* effect, int trackCount, const EffectTrackEntry* tracks,
                          const int* controlCounts, const AnimControl* controls)
{
    if (!effect || !tracks)
        return;
    for (int k = 0; k < trackCount; ++k) {
        effect->AddTrack(tracks[k].id);
        AnimTrack* track = effect->GetTrack(tracks[k].id);
        if (!track)
            continue;
        track->SetParams(tracks[k].params);
        int count = controlCounts ? controlCounts[k] : 0;
        for (int i = 0; i < count && controls; ++i)
            track->AddControl(controls[i]);
    }
}

const EffectTrackEntry kAnimPlayerTracks[1] = {
    {1, {ANIM_PARAM_LENGTH | ANIM_PARAM_DIRECTION | ANIM_PARAM_TYPE, 0, ANIM_DIR_FORWARD, ANIM_TYPE_USUAL, false}},
};
const int kAnimPlayerControlCounts[1] = {3};
const AnimControl kAnimPlayerControls[3] = {
    PlayerControl(ANIM_CONTROL_RANGE, 0, 0, 1, AnimFrameFromProgress),
    PlayerControl(ANIM_CONTROL_POINT, 1, 0, 1, AnimSetDoneFlag),
    PlayerControl(ANIM_CONTROL_POINT, 2, 0, 1, AnimFrameAndDone),
};
