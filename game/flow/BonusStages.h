#pragma once
// The rush bonus: successful staff actions in quick succession form a chain;
// reaching a stage's number of links pays its bonus with a floating text over
// the object acted on, and every further link of the chain pays the last
// stage reached again. The chain breaks on a failed action or when the rush
// timeout passes without a link. The stages come from "bonus_config" of the
// office file.
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SceneObject;

struct BonusStage {
    int32_t action = 0; // links at which the stage is reached
    int32_t bonus = 0;  // money paid
    std::wstring text;  // the floating text (its "loc_str"), empty without one
};

class BonusStages {
public:
    // Told of every Advance: (kind, target).
    using Observer = std::function<void(int32_t kind, SceneObject* target)>;

    // The first "bonus_config" of the office root: its rush_timeout (kept
    // when missing) and its "bonus_stages" in document order.
    void Load(const XmlNode& office);
    // Kind 1: one more link (the timer restarts; a stage of exactly that
    // many links becomes current; a current stage pays). Kind 0: the chain
    // breaks. Other kinds do nothing.
    void Advance(int32_t kind, SceneObject* target);
    // The timer runs; at the timeout the chain breaks.
    void Update(float dt);
    // The current stage's text over the target (when given), then its money.
    void PayStage(SceneObject* target);

    void SetObserver(Observer observer) { mObserver = std::move(observer); }
    const std::vector<BonusStage>& GetStages() const { return mStages; }
    int32_t GetLinks() const { return mLinks; }
    float GetRushTimer() const { return mRushTimer; }
    float GetRushTimeout() const { return mRushTimeout; }
    // The stage last reached in this chain, or null.
    const BonusStage* GetCurrentStage() const { return mCurrent < 0 ? nullptr : &mStages[size_t(mCurrent)]; }

private:
    void Break();

    std::vector<BonusStage> mStages;
    int32_t mCurrent = -1;
    int32_t mLinks = 0;
    float mRushTimer = 0;
    float mRushTimeout = 0;
    Observer mObserver;
};
