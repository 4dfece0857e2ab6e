#pragma once
// A worker at a table who turns items into products: it takes an item that
// matches its "transform_from" word, works for a time its stamina chooses,
// then holds a product built from its "transform_to" word until the boss
// takes it. Working tires it, resting refreshes it; it wants breaks (taken at
// the mini bar), falls asleep when worn out and snores, disturbing the
// others. Every worker is in the installed world's worker list (gWorkers)
// from construction to destruction, in creation order.
#include "game/core/SfxChannel.h"
#include "game/world/SceneObject.h"
#include "game/world/StatusSource.h"
#include "game/world/WorkerParams.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

struct OfficeWorld;

class Worker : public SceneObject, public StatusSource {
public:
    static constexpr int32_t kInactive = -1;
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kWorking = 1;
    static constexpr int32_t kWantsBreak = 4;
    static constexpr int32_t kOnBreak = 5;
    static constexpr int32_t kAsleep = 6;

    Worker();
    ~Worker() override;

    void SetActive(bool on) override;
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    // "transform_from" and "transform_to" of the level element.
    void ApplyLevelState(const XmlNode& node) override;
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

    bool IsStatusShown() const override;
    bool IsHovered() const override { return mState != kOnBreak && mHovered; }
    bool CheckOrder() const override { return false; }
    bool GetMeterValue(float* value) const override;
    bool GetBubbleContent(bool* last, std::string* word) const override;
    bool GetProduct(std::string* product) const override;

    // "table" + the suffix after "worker"; empty for another name.
    std::string GetTableName() const;
    SceneObject* FindTable() const;
    bool CanTransform(const std::string& item) const;
    bool IsWorkDone() const;
    void ProduceResult();
    void ScheduleBreak();
    void ChangeStamina(float delta);
    bool IsProtected() const;
    void PlayAnimRepeat(const std::string& name, int32_t count);
    void SetState(int32_t state);
    void EndBreak();
    void WakeUp();
    void Disrupt(int32_t state);
    void OnConference();
    // The conference for every visible worker.
    static void ApplyConferenceToAll();

    std::string GetTransformTo() const { return mTransformTo; }
    const std::string& GetTransformFrom() const { return mTransformFrom; }
    void SetTransform(const std::string& from, const std::string& to);
    int32_t GetState() const { return mState; }
    float GetStamina() const { return mStamina; }
    float GetWorkProgress() const { return mWorkProgress; }
    float GetBreakTimer() const { return mBreakTimer; }
    float GetProtection() const { return mProtection; }
    bool IsSnoring() const { return mSnoring; }
    float GetTimeOnBreak() const { return mTimeOnBreak; }
    void SetTimeOnBreak(float time) { mTimeOnBreak = time; }
    SceneObject* GetTable() const { return mTable; }
    const WorkerParams& GetParams() const { return mParams; }

private:
    // The boss stands idle at this worker's table.
    bool IsBossIdleHere() const;
    void ResetWork();
    void StartIdle();
    void TakeMoney();

    OfficeWorld* mWorld;
    std::list<Worker*>::iterator mListPosition;
    SceneObject* mTable = nullptr;
    int32_t mState = kIdle;
    bool mHovered = false;
    std::string mTransformFrom;
    std::string mTransformTo;
    std::string mShownAnim;
    std::string mRepeatAnim;
    int32_t mRepeatCount = 0;
    float mStamina = 100.0f;
    float mWorkProgress = 0;
    float mSnoreTimer = 0;
    bool mSnoring = false;
    float mBreakTimer = 0;
    float mProtection = 0;
    int32_t mShownSelector = -1;
    WorkerParams mParams;
    std::unique_ptr<SfxChannel> mSnoreChannel;
    float mTimeOnBreak = 0;
};

// The worker with the longest name that begins the text (so "worker_12_hp"
// finds "worker_12" before "worker_1"), or null.
Worker* FindWorkerByNamePrefix(const std::string& text);
