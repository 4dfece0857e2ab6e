#pragma once
// The end of a day (layout "debriefing"): the boss and two panels in the
// looks of the result kind ("failure", "goal" or "expert"), the headline, the
// day marked on the month's calendar page for a won career day, the day's
// money counted up from 0 in 1.5 s, and the ways on (next day, replay; in
// survival replay or leave). Its pictures are held from one showing to the
// next.
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

#include <string>

class GameApp;
class UiButton;
class UiText;

class DebriefingDialog : public UiDialog {
public:
    // The calendar page's cells and the mark's place in a cell.
    static constexpr int kCellWidth = 18;
    static constexpr int kCellHeight = 29;
    static constexpr int kMarkX = -2;
    static constexpr int kMarkY = -2;
    // Seconds the count-up of the money takes.
    static constexpr float kCountUpTime = 1.5f;

    DebriefingDialog(GameApp* app, const XmlNode& root);
    ~DebriefingDialog() override;

    void Update() override;
    void OnShow() override;
    void OnHide() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    // The level's text for the result, shown in "debriefing_text".
    virtual void SetText(const std::wstring& text);
    virtual void SetResultKind(const std::string& kind) { mResultKind = kind; }
    // Career: whether "continue" is offered disabled (a failed day).
    virtual void SetContinueDisabled(bool disabled);

    const std::wstring& GetText() const { return mText; }
    const std::string& GetResultKind() const { return mResultKind; }
    bool IsContinueDisabled() const { return mContinueDisabled; }
    // The pictures held (empty ids when none).
    const std::string& GetBossImageId() const { return mBossImage.Id(); }
    const std::string& GetBossPanelImageId() const { return mBossPanelImage.Id(); }
    const std::string& GetMoneyPanelImageId() const { return mMoneyPanelImage.Id(); }
    const std::string& GetCalendarImageId() const { return mCalendarImage.Id(); }
    // The money shown by the count-up.
    int32_t GetShownEarnings() const { return mShown; }

private:
    GameApp* App() const;
    bool IsWon() const { return mResultKind == "expert" || mResultKind == "goal"; }

    std::wstring mText;
    std::string mResultKind;
    bool mContinueDisabled = false;
    HeldTexture mBossImage;
    HeldTexture mBossPanelImage;
    HeldTexture mMoneyPanelImage;
    UiButton* mReplay = nullptr;
    UiButton* mContinue = nullptr;
    UiButton* mSurvivalReplay = nullptr;
    UiButton* mSurvivalLeave = nullptr;
    UiText* mBoss = nullptr;
    UiText* mBossPanel = nullptr;
    UiText* mMoneyPanel = nullptr;
    UiText* mResultText = nullptr;
    UiText* mDebriefingText = nullptr;
    UiElement* mGoalValue = nullptr;
    UiElement* mExpertValue = nullptr;
    HeldTexture mCalendarImage;
    UiText* mCalendar = nullptr;
    UiElement* mCalendarMark = nullptr;
    UiElement* mScore = nullptr;
    int32_t mEarningsTarget = 0;
    float mCountUpTime = 0;
    int32_t mShown = 0;
    UiElement* mScoreGhost = nullptr;
};
