#pragma once
// One timer of an effect: a position in seconds moving over 0..length, which
// fires the callbacks of the points and ranges it passes. Every operation
// holds gAnimTrackLock; callbacks run under it and may re-enter.
#include "framework/app/CriticalSection.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/AnimRecords.h"

#include <vector>

class Effect;

extern Zelk::CriticalSection gAnimTrackLock;

class AnimTrack {
public:
    explicit AnimTrack(Effect* owner);
    virtual ~AnimTrack();
    AnimTrack(const AnimTrack&) = delete;
    AnimTrack& operator=(const AnimTrack&) = delete;

    // Reads a "timer" element: type, length, direction and its controls.
    void Load(const XmlNode& timer);
    // Appends a copy; without ANIM_CONTROL_HAS_FUNCTION the copy has no
    // function. Always true.
    bool AddControl(const AnimControl& control);
    // Overwrites every field of the first control with the id (the function
    // whatever the flags) and clears its inside flag; false when none.
    bool ReplaceControl(const AnimControl& control);
    bool SetControlActive(int32_t id, bool active);
    void SetParams(const AnimTrackParams& params);
    // Back to the start (the length when backward); finished cleared.
    void Restart();
    void SetActive(bool active);
    void Update(double seconds);
    bool IsFinished() const;
    bool IsActive() const;
    double GetPosition() const;
    void SetPosition(double seconds);

    float GetLength() const { return mLength; }
    int32_t GetType() const { return mType; }
    int32_t GetDirection() const { return mDirection; }
    double GetStartTime() const { return mStartTime; }

private:
    struct QueuedCall {
        EffectCallback function;
        AnimCallbackArgs args;
    };

    void Advance(double seconds);
    void Step(double from, double to);
    void Queue(const AnimControl& control, float progress);
    void RunQueue();
    bool MovesAsUsual() const { return mType != ANIM_TYPE_CYCLE && mType != ANIM_TYPE_PING_PONG; }

    Effect* mOwner;
    double mStartTime = 0;
    bool mLengthChanged = false;
    double mPosition = 0;
    bool mPingPongForward = false;
    bool mFinished = false;
    bool mHold = false;
    std::vector<QueuedCall> mQueue; // the calls of the running step, in queueing order
    std::vector<AnimControl*> mControls;
    float mLength = 0;
    int32_t mDirection = ANIM_DIR_NONE;
    int32_t mType = ANIM_TYPE_NONE;
    bool mActive = false;
};
