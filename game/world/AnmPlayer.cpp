#include "game/world/AnmPlayer.h"

#include "framework/app/PathUtil.h"
#include "game/effects/AnimCallbacks.h"
#include "game/effects/AnimTrack.h"
#include "game/effects/Effect.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"

#include <algorithm>

namespace {

constexpr int32_t kTrack = 1;
constexpr int32_t kControlFrame = 0;
constexpr int32_t kControlDone = 1;
constexpr int32_t kControlStop = 2;
constexpr int32_t kParamFrame = 1;
constexpr int32_t kParamSequence = 2;
constexpr int32_t kParamDone = 3;
// More distinct request texts than this start the look-up cache afresh.
constexpr size_t kMaxFound = 256;

// frame count / fps as a float; 0 for an animation without timing.
float Length(const AnmSequence& sequence)
{
    if (sequence.framesPerSecond <= 0)
        return 0.0f;
    return float(sequence.frameCount) / float(sequence.framesPerSecond);
}

AnimControl Control(uint32_t kind, int32_t id, float start, float end, EffectCallback function, Effect* owner,
                    bool active)
{
    AnimControl control;
    control.flags = kind;
    control.id = id;
    control.start = start;
    control.end = end;
    control.function = function;
    control.owner = owner;
    control.active = active;
    return control;
}

} // namespace

AnmPlayer::AnmPlayer(ObjectPart* owner) : mOwner(owner)
{
    mEffect = new Effect;
    BuildEffectFromTable(mEffect, 1, kAnimPlayerTracks, kAnimPlayerControlCounts, kAnimPlayerControls);
    mEffect->SetParam(kParamFrame, &mFrame);
    mEffect->SetParam(kParamSequence, nullptr);
    mEffect->SetParam(kParamDone, &mDone);
}

AnmPlayer::~AnmPlayer() { Unload(); }

void AnmPlayer::Unload()
{
    delete mEffect;
    mEffect = nullptr;
    mFile.reset();
    mFound.clear();
}

AnimTrack* AnmPlayer::GetTrack() const { return mEffect ? mEffect->GetTrack(kTrack) : nullptr; }

bool AnmPlayer::Load(const std::string& name)
{
    // The name comes from the office file: it must not lead out of the
    // animation folder.
    const std::string path = "anm\\" + name + ".anm";
    if (!Zelk::IsPathInsideFolder(path))
        return false;
    std::unique_ptr<AnmFile> file = AnmFile::Load(path);
    if (!file)
        return false;
    mFile = std::move(file);
    mFound.clear();
    mFrame = 0;
    if (mCurrent >= mFile->GetCount()) {
        // The new file has no such record: nothing is current any more.
        mCurrent = -1;
        if (mEffect)
            mEffect->SetParam(kParamSequence, nullptr);
    }
    CancelStopAtFrame();
    Play(mCurrent, false);
    return true;
}

int AnmPlayer::FindAnimation(const std::string& text)
{
    if (!mFile)
        return -1;
    auto known = mFound.find(text);
    if (known != mFound.end())
        return known->second;
    int found = -1;
    for (int i = 0; i < mFile->GetCount(); ++i) {
        if (mFile->GetRecord(i).name.find(text) != std::string::npos) {
            found = i;
            break;
        }
    }
    if (mFound.size() >= kMaxFound)
        mFound.clear();
    mFound.emplace(text, found);
    return found;
}

AnmRecord* AnmPlayer::GetAnimation(const std::string& text)
{
    int index = FindAnimation(text);
    return index < 0 ? nullptr : &mFile->GetRecord(index);
}

void AnmPlayer::Play(int index, bool keepTime)
{
    AnimTrack* track = GetTrack();
    if (index < 0 || !mFile || index >= mFile->GetCount() || !track)
        return;
    double start = 0;
    if (keepTime)
        start = track->GetPosition();
    else
        mFrame = 0;
    AnmRecord& record = mFile->GetRecord(index);
    const AnmSequence& sequence = record.sequence;
    const float length = Length(sequence);
    if (keepTime && start > double(length))
        start = 0;

    const bool cycle = sequence.mode == 0;
    const bool backward = sequence.mode == 2;
    AnimTrackParams params;
    params.mask = ANIM_PARAM_LENGTH | ANIM_PARAM_DIRECTION | ANIM_PARAM_TYPE;
    params.length = length;
    params.direction = backward ? ANIM_DIR_BACKWARD : ANIM_DIR_FORWARD;
    params.type = cycle ? ANIM_TYPE_CYCLE : ANIM_TYPE_USUAL;
    params.active = length != 0.0f;
    track->SetParams(params);
    if (keepTime)
        track->SetPosition(start);

    track->ReplaceControl(
        Control(ANIM_CONTROL_RANGE, kControlFrame, 0.0f, length, AnimFrameFromProgress, mEffect, length != 0.0f));
    if (!cycle && sequence.frameCount > 1) {
        // The end of a backward animation lies at 0, where its track stops.
        const float end = backward ? 0.0f : length;
        track->ReplaceControl(Control(ANIM_CONTROL_POINT, kControlDone, end, end, AnimSetDoneFlag, mEffect, true));
    } else {
        // Not placed: a point left by an earlier animation must not report
        // an end of this one.
        track->SetControlActive(kControlDone, false);
    }
    mEffect->SetParam(kParamSequence, &record.sequence);
    mCurrent = index;
}

bool AnmPlayer::PlayByName(const std::string& text, bool keepTime)
{
    if (!mFile || text.empty())
        return false;
    int index = FindAnimation(text);
    if (index < 0)
        return false;
    if (!keepTime)
        End();
    Play(index, keepTime);
    mState = STATE_PLAYING;
    AnimTrack* track = GetTrack();
    if (!track || mCurrent < 0)
        return true;
    const AnmSequence& sequence = mFile->GetRecord(mCurrent).sequence;
    const bool timed = Length(sequence) != 0.0f;
    // An animation without timing keeps its frame: nothing moves or fires.
    track->SetControlActive(kControlFrame, timed);
    if (sequence.mode != 0 && sequence.frameCount > 1)
        track->SetControlActive(kControlDone, true);
    track->SetActive(timed);
    return true;
}

void AnmPlayer::StopAtFrame(int n)
{
    AnimTrack* track = GetTrack();
    if (!mFile || mCurrent < 0 || !track)
        return;
    const AnmSequence& sequence = mFile->GetRecord(mCurrent).sequence;
    // Without timing there is no time at which the frame is reached.
    if (n < 0 || n > sequence.frameCount || sequence.framesPerSecond <= 0)
        return;
    const float at = float(n) / float(sequence.framesPerSecond);
    track->ReplaceControl(Control(ANIM_CONTROL_POINT, kControlStop, at, at, AnimFrameAndDone, mEffect, true));
    mStopFrame = n;
}

void AnmPlayer::CancelStopAtFrame()
{
    if (AnimTrack* track = GetTrack())
        track->SetControlActive(kControlStop, false);
    mStopFrame = -1;
}

void AnmPlayer::Rewind(int index)
{
    AnimTrack* track = GetTrack();
    if (!mFile || index < 0 || index >= mFile->GetCount() || !track)
        return;
    track->Restart();
    CancelStopAtFrame();
}

void AnmPlayer::End()
{
    if (mState != STATE_PLAYING && mState != STATE_PAUSED)
        return;
    CancelStopAtFrame();
    mState = STATE_ENDED;
    // The handler may play another animation here (and so come back into
    // this player): the end is reported before the rewind, as the objects
    // expect.
    ReportEnd();
    Rewind(mCurrent);
    if (AnimTrack* track = GetTrack()) {
        track->SetControlActive(kControlFrame, false);
        track->SetControlActive(kControlDone, false);
        track->SetActive(false);
        track->Restart();
    }
}

void AnmPlayer::ReportEnd()
{
    if (!mOwner || !mOwner->GetOwner())
        return;
    const std::string name = mOwner->GetAnimationName();
    mOwner->GetOwner()->OnAnimationEnd(mOwner, name);
}

bool AnmPlayer::Pause()
{
    if (mState != STATE_PLAYING)
        return false;
    mState = STATE_PAUSED;
    if (AnimTrack* track = GetTrack())
        track->SetActive(false);
    return true;
}

bool AnmPlayer::Resume()
{
    if (mState != STATE_PAUSED)
        return false;
    mState = STATE_PLAYING;
    if (AnimTrack* track = GetTrack())
        track->SetActive(true);
    return true;
}

void AnmPlayer::Update(bool& ended)
{
    if (mState != STATE_PLAYING || !mEffect)
        return;
    mEffect->Update(gFrameDelta);
    if (mStopFrame >= 0 && mDone && mFile && mCurrent >= 0) {
        const AnmSequence& sequence = mFile->GetRecord(mCurrent).sequence;
        if (sequence.framesPerSecond > 0) {
            if (AnimTrack* track = GetTrack())
                track->SetPosition(double(float(mStopFrame + 1) / float(sequence.framesPerSecond)));
        }
        CancelStopAtFrame();
        Pause();
    }
    ended = mDone;
    mDone = false;
}

AnmRecord* AnmPlayer::GetCurrentAnimation()
{
    if ((mState != STATE_PLAYING && mState != STATE_PAUSED) || !mFile || mCurrent < 0)
        return nullptr;
    return &mFile->GetRecord(mCurrent);
}

bool AnmPlayer::GetCurrentFrame(AnmFrame& frame) const
{
    if ((mState != STATE_PLAYING && mState != STATE_PAUSED) || !mFile || mCurrent < 0)
        return false;
    const AnmRecord& record = mFile->GetRecord(mCurrent);
    const int32_t count = record.sequence.frameCount;
    if (count <= 0)
        return false;
    // A stop frame equal to the count, or rounding, can point past the end.
    frame = mFile->GetFrame(record, std::clamp(mFrame, 0, count - 1));
    return true;
}

float AnmPlayer::GetDuration() const
{
    if (!mFile || mCurrent < 0)
        return 0.0f;
    return Length(mFile->GetRecord(mCurrent).sequence);
}
