#include "game/effects/AnimTrack.h"

#include "game/effects/ExportedFunctions.h"
#include "platform/clock/Clock.h"

#include <algorithm>
#include <cmath>

Zelk::CriticalSection gAnimTrackLock;

namespace {

// An update that covers more laps than this keeps only this many and the
// rest of the last one: a tiny length cannot make one update endless.
constexpr double kMaxLapsPerUpdate = 1000.0;

int32_t TypeFromWord(const std::string& word, int32_t current)
{
    if (word == "usual")
        return ANIM_TYPE_USUAL;
    if (word == "self_destructive")
        return ANIM_TYPE_SELF_DESTRUCTIVE;
    if (word == "cycle")
        return ANIM_TYPE_CYCLE;
    if (word == "ping_pong")
        return ANIM_TYPE_PING_PONG;
    return current;
}

} // namespace

AnimTrack::AnimTrack(Effect* owner) : mOwner(owner) { mControls.reserve(10); }

AnimTrack::~AnimTrack()
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    for (AnimControl* control : mControls)
        delete control;
    mControls.clear();
    mQueue.clear();
}

void AnimTrack::Load(const XmlNode& timer)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    std::string word;
    if (XmlGetAttrString(timer, L"type", word))
        mType = TypeFromWord(word, mType);
    XmlGetAttrFloat(timer, L"ftime", mLength);
    word.clear();
    if (XmlGetAttrString(timer, L"direction", word)) {
        if (word == "forward") {
            mDirection = ANIM_DIR_FORWARD;
            mPosition = 0;
        } else if (word == "backward") {
            mDirection = ANIM_DIR_BACKWARD;
            mPosition = mLength;
        }
    }
    mPingPongForward = mDirection == ANIM_DIR_FORWARD;

    std::vector<XmlNode> nodes;
    timer.Select(L"control", nodes);
    for (const XmlNode& node : nodes) {
        AnimControl control;
        XmlGetAttrInt(node, L"id", control.id);
        XmlGetAttrFloat(node, L"starttime", control.start);
        XmlGetAttrFloat(node, L"endtime", control.end);
        std::string name;
        if (XmlGetAttrString(node, L"function", name)) {
            control.function = ExportedFunctions::FindTrackCallback(name);
            if (control.function)
                control.flags |= ANIM_CONTROL_HAS_FUNCTION;
        }
        std::string type;
        if (XmlGetAttrString(node, L"type", type)) {
            if (type == "point")
                control.flags |= ANIM_CONTROL_POINT;
            else if (type == "range")
                control.flags |= ANIM_CONTROL_RANGE;
        }
        control.owner = mOwner;
        XmlGetAttrBool(node, L"active", control.active);
        AddControl(control);
    }
}

bool AnimTrack::AddControl(const AnimControl& control)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    AnimControl* copy = new AnimControl(control);
    if (!(copy->flags & ANIM_CONTROL_HAS_FUNCTION))
        copy->function = nullptr;
    copy->flags &= ~uint32_t(ANIM_CONTROL_HAS_FUNCTION);
    copy->inside = false;
    mControls.push_back(copy);
    return true;
}

bool AnimTrack::ReplaceControl(const AnimControl& control)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    for (AnimControl* existing : mControls) {
        if (existing->id == control.id) {
            *existing = control;
            existing->inside = false;
            return true;
        }
    }
    return false;
}

bool AnimTrack::SetControlActive(int32_t id, bool active)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    for (AnimControl* existing : mControls) {
        if (existing->id == id) {
            existing->active = active;
            return true;
        }
    }
    return false;
}

void AnimTrack::SetParams(const AnimTrackParams& params)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    mHold = (params.mask & ANIM_PARAM_HOLD) != 0;
    if (params.mask & ANIM_PARAM_LENGTH) {
        mLength = params.length;
        mPosition = 0;
        mLengthChanged = true;
    }
    if (params.mask & ANIM_PARAM_TYPE)
        mType = params.type;
    if (params.mask & ANIM_PARAM_DIRECTION) {
        mDirection = params.direction;
        mPingPongForward = mDirection == ANIM_DIR_FORWARD;
    }
    bool wasActive = mActive;
    mActive = params.active && mLength > 0;
    if (mDirection == ANIM_DIR_BACKWARD)
        mPosition = mLength;
    if (params.active != wasActive)
        mStartTime = plat::TimeGetTime();
}

void AnimTrack::Restart()
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    mPosition = mDirection == ANIM_DIR_BACKWARD ? mLength : 0.0;
    mFinished = false;
    mStartTime = plat::TimeGetTime();
}

void AnimTrack::SetActive(bool active)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    mActive = active;
}

bool AnimTrack::IsFinished() const
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    return mFinished;
}

bool AnimTrack::IsActive() const
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    return mActive;
}

double AnimTrack::GetPosition() const
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    return mPosition;
}

void AnimTrack::SetPosition(double seconds)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    mPosition = seconds;
}

void AnimTrack::Update(double seconds)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    if (!mActive)
        return;
    mLengthChanged = false;
    if (mLength < 0) {
        // Endless: one move by the whole update.
        Advance(seconds);
        return;
    }
    double length = mLength;
    if (length > 0 && seconds / length > kMaxLapsPerUpdate)
        seconds = std::fmod(seconds, length) + kMaxLapsPerUpdate * length;
    while (mLength < seconds) {
        if (!mLengthChanged && !mHold)
            Advance(mLength);
        if (mLength <= 0 || mLengthChanged)
            break;
        seconds -= mLength;
    }
    if (!mLengthChanged)
        Advance(seconds);
}

void AnimTrack::Advance(double seconds)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    bool pingPong = mType == ANIM_TYPE_PING_PONG;
    bool forward = pingPong ? mPingPongForward : mDirection == ANIM_DIR_FORWARD;
    bool backward = pingPong ? !mPingPongForward : mDirection == ANIM_DIR_BACKWARD;
    bool endless = mLength < 0;
    double length = mLength;
    if (forward) {
        double old = mPosition;
        mPosition += seconds;
        if (endless || mPosition < length) {
            Step(old, mPosition);
            return;
        }
        if (MovesAsUsual()) {
            mFinished = true;
            Step(old, length);
            return;
        }
        Step(old, length);
        if (mLengthChanged)
            return;
        if (pingPong) {
            mPosition = length - (mPosition - length);
            if (mPosition != length)
                Step(length, mPosition);
            mPingPongForward = false;
        } else {
            mPosition -= length;
            if (mPosition != 0)
                Step(0, mPosition);
        }
    } else if (backward) {
        double old = mPosition;
        mPosition -= seconds;
        if (endless || mPosition > 0) {
            Step(old, mPosition);
            return;
        }
        if (MovesAsUsual()) {
            mFinished = true;
            Step(old, 0);
            return;
        }
        Step(old, 0);
        if (mLengthChanged)
            return;
        if (pingPong) {
            mPosition = -mPosition;
            if (mPosition != 0)
                Step(0, mPosition);
            mPingPongForward = true;
        } else {
            mPosition += length;
            if (mPosition != length)
                Step(length, mPosition);
        }
    }
}

void AnimTrack::Queue(const AnimControl& control, float progress)
{
    if (!control.function)
        return;
    mQueue.push_back({control.function, {control.flags, control.id, control.owner, control.userWord, progress}});
}

void AnimTrack::Step(double a, double b)
{
    Zelk::CritSectGuard guard(gAnimTrackLock);
    bool forward = a <= b;
    for (AnimControl* control : mControls) {
        if (!control->active)
            continue;
        double s = control->start;
        double e = control->end;
        if (control->flags == ANIM_CONTROL_POINT) {
            bool hit = forward ? (a <= s && s <= b) : (b <= s && s <= a);
            if (hit)
                Queue(*control, float(b));
            continue;
        }
        if (control->flags != ANIM_CONTROL_RANGE)
            continue;
        auto inside = [&] { return float(std::min(1.0, (mPosition - s) / (e - s))); };
        float enter = forward ? 0.0f : 1.0f;
        float leave = forward ? 1.0f : 0.0f;
        bool whole, begins, ends, within;
        if (forward) {
            whole = a <= s && e <= b;
            begins = a <= s && s <= b && b < e;
            ends = s < a && a < e && e <= b;
            within = s < a && e > b;
        } else {
            whole = b <= s && e <= a;
            begins = s < b && b <= e && e <= a;
            ends = b <= s && s < a && a < e;
            within = s < b && e > a;
        }
        if (whole) {
            Queue(*control, enter);
            Queue(*control, leave);
        } else if (begins) {
            if (!control->inside)
                Queue(*control, enter);
            Queue(*control, inside());
            control->inside = true;
        } else if (ends) {
            if (control->inside)
                Queue(*control, leave);
            control->inside = false;
        } else if (within) {
            Queue(*control, inside());
        }
    }
    RunQueue();
}

void AnimTrack::RunQueue()
{
    if (mQueue.empty())
        return;
    // The calls of this step leave the queue before any runs: a callback that
    // steps this track again collects and runs its own calls only.
    std::vector<QueuedCall> running;
    running.swap(mQueue);
    for (QueuedCall& call : running)
        call.function(&call.args);
    running.clear();
    if (mQueue.capacity() < running.capacity())
        mQueue.swap(running);
}
