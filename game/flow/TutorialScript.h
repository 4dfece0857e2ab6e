#pragma once
// The teaching rules of career days 1 and 2: a fixed table of steps per day,
// moved on by game events and by waits. Each step shows or hides one of the
// HUD's hints and changes which game actions are forbidden (1 client
// patience falls, 2 clients come, 3 queued clicks are handed out) and which
// office objects may not be clicked or hovered. Every other day has no table
// and allows everything. Main thread only.
#include <cstdint>
#include <set>
#include <string>

class HudPanel;

// One constant step of a day's table. Empty slots are 0 (actions) or null
// (names).
struct TutorialStep {
    static constexpr int kSlots = 16;
    int32_t trigger;  // the event that applies the step (0: none needed)
    float delay;      // seconds the step waits after it is applied; 0: none
    int32_t showHint; // hint id, 0: none
    int32_t hideHint; // hint id, 0: none
    int32_t forbidActions[kSlots];
    int32_t permitActions[kSlots];
    const char* forbidNames[kSlots];
    const char* permitNames[kSlots];
};

class TutorialScript {
public:
    // Inactive, nothing forbidden; hints go to the owner (may be null).
    explicit TutorialScript(HudPanel* owner);
    virtual ~TutorialScript();

    // Inactive, nothing forbidden, no wait.
    void Reset();
    // Cleared; a day with a table becomes active and applies its step 0.
    void Start(int32_t level);
    // Applies the current step when its trigger is the event, no wait runs
    // and steps are left; every other event is lost.
    virtual void OnEvent(int32_t event);
    // While a wait runs: it ends when its time is up or the step's hint is
    // no longer shown (a step without a hint ends it at once), and event 0
    // follows.
    void Update(float dt);
    virtual bool IsActionAllowed(int32_t action) const;
    virtual bool IsNameAllowed(const std::string& name) const;
    bool IsActive() const { return mSteps != nullptr; }

    int32_t GetCurrentStep() const { return mCurrent; }
    bool IsWaiting() const { return mWaiting; }

    // The tables of days 1 and 2 (null and 0 for any other day).
    static const TutorialStep* StepsOf(int32_t level, int32_t* count);

private:
    HudPanel* mOwner;
    const TutorialStep* mSteps = nullptr;
    int32_t mStepCount = 0;
    int32_t mCurrent = 0;
    bool mWaiting = false;
    float mWaitLeft = 0;
    std::set<int32_t> mForbiddenActions;
    std::set<std::string> mForbiddenNames;
};

// The office screen's script while it lives (tests may install a double).
extern TutorialScript* gTutorialScript;
