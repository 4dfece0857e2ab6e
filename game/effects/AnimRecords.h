#pragma once
// The records through which tracks, their controls and their callbacks talk.
#include "game/effects/EffectCallback.h"

#include <cstdint>

class Effect;

// Control kinds; a control fires only when its flags are exactly one kind.
enum : uint32_t {
    ANIM_CONTROL_POINT = 1,
    ANIM_CONTROL_RANGE = 2,
    ANIM_CONTROL_HAS_FUNCTION = 4, // meaningful only when handed to AddControl
};

// Which fields of AnimTrackParams to apply; the hold bit is the hold flag's
// new value.
enum : uint32_t {
    ANIM_PARAM_LENGTH = 1,
    ANIM_PARAM_DIRECTION = 2,
    ANIM_PARAM_TYPE = 4,
    ANIM_PARAM_HOLD = 0x10000,
};

enum AnimTrackType : int32_t {
    ANIM_TYPE_NONE = 0,
    ANIM_TYPE_USUAL = 1,
    ANIM_TYPE_SELF_DESTRUCTIVE = 2,
    ANIM_TYPE_CYCLE = 3,
    ANIM_TYPE_PING_PONG = 4,
};

enum AnimDirection : int32_t { ANIM_DIR_NONE = 0, ANIM_DIR_FORWARD = 1, ANIM_DIR_BACKWARD = 2 };

// One point or range on a track's time axis, in seconds.
struct AnimControl {
    uint32_t flags = 0;
    int32_t id = 0;
    float start = 0;
    float end = 0;
    EffectCallback function = nullptr;
    Effect* owner = nullptr;
    uint32_t userWord = 0;
    bool active = false;
    bool inside = false; // the track's copy only: a range entered and not yet left
};

struct AnimTrackParams {
    uint32_t mask = 0;
    float length = 0;
    int32_t direction = 0;
    int32_t type = 0;
    bool active = false;
};

// What a track callback receives; it lives only for the call.
struct AnimCallbackArgs {
    uint32_t flags = 0;
    int32_t id = 0;
    Effect* owner = nullptr;
    uint32_t userWord = 0;
    float progress = 0;
};
