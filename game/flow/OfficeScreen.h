#pragma once
#include "game/core/XmlFunctions.h"
#include "game/flow/BonusStages.h"
#include "game/flow/LevelModel.h"
#include "game/flow/ObjectBlink.h"
#include "game/ui/UiElement.h"
#include "game/world/LevelTimelines.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeWorld.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class BriefingDialog;
class ComicDialog;
class DebriefingDialog;
class EscapeMenu;
class GameApp;
class HudPanel;
class Pickable;
class SceneObject;
class TutorialScript;
class UpgradeDialog;

// The in-game screen: shows the office and runs a level day. It owns the
// office world (objects, tuning records, timelines, drawing order), the
// level model, the day clock, money and lives, the spawning of clients, the
// rush bonus, the tutorial rules and the in-game dialogs under its HUD.
// While paused (the application has lost the focus) its update does nothing;
// the focus hooks may set the flag from any stepping thread.
class OfficeScreen : public UiElement, public OfficeScreenInterface {
public:
    // The seconds of the end countdowns.
    static constexpr float kCareerEndDelay = 2.0f;
    static constexpr float kSurvivalEndDelay = 5.0f;
    static constexpr int32_t kCareerLevels = 60;

    // Builds the world, the HUD with the in-game dialogs and the tutorial,
    // then reads the office file; becomes the application's office screen.
    OfficeScreen(GameApp* app, const XmlNode& root);
    // Takes down everything it set up and clears every global pointing at it.
    ~OfficeScreen() override;

    // One update tick: nothing while paused; else the widget, the clock and,
    // unless the day is over, the level logic.
    void Update() override;
    // The fractional step of the display-paced loop.
    void UpdateFraction(float fraction) override { UpdateF(fraction); }
    void UpdateF(float fraction);
    // The office's floor, then its visible parts.
    void Draw(Zelk::Graphics* g) override;
    // Escape toggles the escape menu while escape is allowed.
    void KeyUp(int key) override;
    // The left button clicks while the day runs.
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    // The widget's own handling, then the hover.
    void MouseMove(int x, int y) override;
    void OnShow() override;
    void OnHide() override;

    // The office file, once (the constructor calls it).
    void LoadOffice();
    // The level's file over the office (the survival flag set before).
    void LoadLevel(int32_t level);
    void StartDay();
    void NextLevel();
    void RestartLevel();
    void StopDay() { mDayRunning = false; }
    void SetDayRunning(bool running) { mDayRunning = running; }
    bool IsDayRunning() const { return mDayRunning; }
    bool IsDayOver() const { return mDayOver; }
    void SetPaused(bool paused) { mPaused = paused; }
    bool IsPaused() const { return mPaused; }
    void SetSurvival(bool survival) { mSurvival = survival; }
    bool IsSurvival() const override { return mSurvival; }
    int32_t GetLevel() const { return mLevel; }
    int32_t GetMoney() const { return mMoney; }
    // Adds to the screen's money (none without a screen): summed in 64 bits,
    // never below 0 nor above INT_MAX; "money" is published. The new money.
    static int32_t AddMoney(int32_t amount);
    // Survival: a life less; the last one starts the end countdown.
    void LoseLife();
    int32_t GetLives() const { return mLives; }
    LevelParams& GetLevelParams() { return mWorld.levelParams; }
    BonusStages& GetBonusStages() { return mBonusStages; }
    int32_t GetStageIndex() const { return mSurvivalModel.stageIndex; }
    int32_t GetStageStartMoney() const { return mStageStartMoney; }
    int32_t GetNextStageMoney() const { return mNextStageMoney; }
    float GetLevelClock() const { return mLevelClock; }
    bool IsEnding() const { return mEnding; }
    float GetEndCountdown() const { return mEndCountdown; }
    float GetSpawnTimer() const { return mSpawnTimer; }
    void SetSpawnTimer(float timer) { mSpawnTimer = timer; }
    bool IsEscapeAllowed() const { return mEscapeAllowed; }
    void SetEscapeAllowed(bool allowed) { mEscapeAllowed = allowed; }
    void ClearOffice();
    // The first visible, active clickable object under the point is picked
    // and queued (once when it is already the last in the queue).
    void Click(int x, int y);
    // Every clickable object hears the mouse; the first one hoverable is
    // the hovered object, and the cursor shows it.
    void UpdateHover(int x, int y);
    const std::vector<Pickable*>& GetClickQueue() const { return mClickQueue; }
    void PlayWindowEvent(const std::string& name);
    void ResetWindow();

    // Spawning.
    void SortSchedules();
    // The first record when its time has come (taken out of the list).
    static bool TakeDueClient(std::vector<TimePoint>& list, float clock, TimePoint& out);
    // Records left / records in the clients timeline; 1 without records.
    float DayProgress() const;
    void SpawnScheduledClient();
    void SpawnSurvivalClient();
    void AdvanceStage();
    // Every stage the money has reached is entered.
    void EnterStagesByMoney();
    // The money at which the stage after the index begins (INT_MAX: none).
    int64_t StageThreshold(int64_t index) const;
    void PickOrders(const ClientTemplate& client, std::vector<std::string>& out);
    std::string PickOrder(const OrderList& list, const std::vector<std::string>& chosen, float ext);

    // Office object changes and upgrades: stage objects applied at once
    // (each change also kept in the applied list), changes with a blink
    // (one record per visible object), advanced by the level update.
    void ApplyStageObjects(const StageObject& change);
    void ChangeObjects(const StageObject& change) override;
    void UpdateObjectBlinks(float dt);
    void ApplyUpgrade();
    const std::vector<StageObject>& GetAppliedChanges() const { return mAppliedChanges; }
    const std::vector<ObjectBlink>& GetBlinkChanges() const { return mBlinkChanges; }
    const std::vector<int32_t>& GetPendingUpgrades() const { return mPendingUpgrades; }
    int GetUpgradeRequests() const { return mUpgradeRequests; }

    SceneObject* GetHoveredObject() const override { return mHovered; }
    void SendTutorialEvent(int event) override;
    bool IsTutorialActionAllowed(int action) const override;
    void AddDayMoney(int32_t amount) override { AddMoney(amount); }
    void LoseDayLife() override { LoseLife(); }
    void AdvanceRushBonus(int32_t kind, SceneObject* target) override { mBonusStages.Advance(kind, target); }

    // The level model and texts.
    SurvivalModel& GetSurvivalModel() { return mSurvivalModel; }
    const std::wstring& GetFailureText() const { return mFailureText; }
    const std::wstring& GetGoalText() const { return mGoalText; }
    const std::wstring& GetExpertText() const { return mExpertText; }
    OfficeWorld& GetWorld() { return mWorld; }
    const ClientTemplate* GetPendingTemplate() const { return mPendingTemplate; }
    int32_t GetPendingPlace() const { return mPendingPlace; }
    // The whole seconds of play added to the profile so far carry the rest.
    double GetPlayTimeCarry() const { return mPlayTime; }

    HudPanel* GetHud() const { return mHud; }
    BriefingDialog* GetBriefing() const { return mBriefing; }
    DebriefingDialog* GetDebriefing() const { return mDebriefing; }
    EscapeMenu* GetEscapeMenu() const { return mEscapeMenu; }
    UpgradeDialog* GetUpgradeDialog() const { return mUpgradeDialog; }
    ComicDialog* GetComic() const { return mComic; }

private:
    void UpdateClock();
    void UpdateLevel();
    void ScoreDay();
    void ScoreCareer();
    void ScoreSurvival();
    void DispatchClicks();
    void SetNumber(const std::string& name, int32_t value);
    // r = rand() / 32767.
    static float Random01();

    GameApp* mApp;
    std::wstring mFailureText;
    std::wstring mGoalText;
    std::wstring mExpertText;
    std::vector<StageObject> mAppliedChanges;
    std::vector<ObjectBlink> mBlinkChanges;
    OfficeWorld mWorld;
    std::vector<int32_t> mPendingUpgrades;
    BonusStages mBonusStages;
    bool mDayRunning = false;
    bool mDayOver = false;
    float mLevelClock = 0;
    int32_t mMoney = 0;
    int32_t mStageStartMoney = 0;
    int32_t mNextStageMoney = 0;
    int32_t mLevel = 0;
    float mSpawnTimer = 0;
    std::atomic<bool> mPaused{false};
    bool mSurvival = false;
    SurvivalModel mSurvivalModel;
    const ClientTemplate* mPendingTemplate = nullptr;
    int32_t mPendingPlace = -1;
    int32_t mLives = 0;
    bool mEnding = false;
    float mEndCountdown = 0;
    std::vector<Pickable*> mClickQueue;
    SceneObject* mWindow = nullptr;
    SceneObject* mHovered = nullptr;
    BriefingDialog* mBriefing = nullptr;
    DebriefingDialog* mDebriefing = nullptr;
    EscapeMenu* mEscapeMenu = nullptr;
    HudPanel* mHud = nullptr;
    UpgradeDialog* mUpgradeDialog = nullptr;
    ComicDialog* mComic = nullptr;
    TutorialScript* mTutorial = nullptr;
    bool mEscapeAllowed = false;
    std::unique_ptr<XmlDocument> mOfficeDocument;
    std::unique_ptr<XmlDocument> mLevelDocument;
    double mPlayTime = 0; // seconds of play not yet added to the profile
    int mUpgradeRequests = 0;
};

// The screen while it lives.
extern OfficeScreen* gOfficeScreen;
