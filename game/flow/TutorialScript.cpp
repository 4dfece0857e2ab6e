#include "game/flow/TutorialScript.h"

#include "game/core/DebugTrace.h"
#include "game/flow/HudPanel.h"

TutorialScript* gTutorialScript = nullptr;

TutorialScript::TutorialScript(HudPanel* owner) : mOwner(owner) {}

TutorialScript::~TutorialScript()
{
    if (gTutorialScript == this)
        gTutorialScript = nullptr;
}

void TutorialScript::Reset()
{
    mSteps = nullptr;
    mStepCount = 0;
    mCurrent = 0;
    mWaiting = false;
    mWaitLeft = 0;
    mForbiddenActions.clear();
    mForbiddenNames.clear();
}

void TutorialScript::Start(int32_t level)
{
    Reset();
    int32_t count = 0;
    const TutorialStep* steps = StepsOf(level, &count);
    if (!steps)
        return;
    mSteps = steps;
    mStepCount = count;
    OnEvent(0);
}

void TutorialScript::OnEvent(int32_t event)
{
    if (!mSteps || mWaiting || mCurrent >= mStepCount || mSteps[mCurrent].trigger != event)
        return;
    const TutorialStep& step = mSteps[mCurrent];
    for (int32_t action : step.forbidActions)
        if (action != 0)
            mForbiddenActions.insert(action);
    for (int32_t action : step.permitActions)
        if (action != 0)
            mForbiddenActions.erase(action);
    for (const char* name : step.forbidNames)
        if (name)
            mForbiddenNames.insert(name);
    for (const char* name : step.permitNames)
        if (name)
            mForbiddenNames.erase(name);
    if (mOwner && step.showHint != 0)
        mOwner->ShowHint(step.showHint, true);
    if (mOwner && step.hideHint != 0)
        mOwner->ShowHint(step.hideHint, false);
    if (step.delay != 0) {
        mWaiting = true;
        mWaitLeft = step.delay;
    }
    ++mCurrent;
    DebugTrace("Current Rule: %i\n", mCurrent);
}

void TutorialScript::Update(float dt)
{
    if (!mSteps || !mWaiting)
        return;
    mWaitLeft -= dt;
    // The step whose wait runs is the one just applied.
    const int32_t hint = mSteps[mCurrent - 1].showHint;
    const bool shown = hint != 0 && mOwner && mOwner->IsHintShown(hint);
    if (mWaitLeft < 0 || !shown) {
        mWaiting = false;
        OnEvent(0);
    }
}

bool TutorialScript::IsActionAllowed(int32_t action) const
{
    return !mSteps || mForbiddenActions.count(action) == 0;
}

bool TutorialScript::IsNameAllowed(const std::string& name) const
{
    return !mSteps || mForbiddenNames.count(name) == 0;
}
