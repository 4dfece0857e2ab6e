#include "game/flow/DebriefingDialog.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/LevelCalendar.h"
#include "game/core/LocTable.h"
#include "game/core/SfxManager.h"
#include "game/core/StringTable.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiText.h"

namespace {

void SetVisibleIf(UiElement* element, bool visible)
{
    if (element)
        element->SetVisible(visible);
}

void ShowIf(UiElement* element)
{
    if (element)
        element->Show();
}

void HideIf(UiElement* element)
{
    if (element)
        element->Hide();
}

} // namespace

DebriefingDialog::DebriefingDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "debriefing");
}

DebriefingDialog::~DebriefingDialog()
{
    OnReleaseResources();
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

GameApp* DebriefingDialog::App() const { return static_cast<GameApp*>(mContext); }

void DebriefingDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "replay")
        mReplay = dynamic_cast<UiButton*>(child);
    else if (name == "continue")
        mContinue = dynamic_cast<UiButton*>(child);
    else if (name == "survival_replay")
        mSurvivalReplay = dynamic_cast<UiButton*>(child);
    else if (name == "survival_leave")
        mSurvivalLeave = dynamic_cast<UiButton*>(child);
    else if (name == "boss")
        mBoss = dynamic_cast<UiText*>(child);
    else if (name == "bosspanel")
        mBossPanel = dynamic_cast<UiText*>(child);
    else if (name == "moneypanel")
        mMoneyPanel = dynamic_cast<UiText*>(child);
    else if (name == "result_text")
        mResultText = dynamic_cast<UiText*>(child);
    else if (name == "debriefing_text")
        mDebriefingText = dynamic_cast<UiText*>(child);
    else if (name == "goal_value")
        mGoalValue = child;
    else if (name == "expert_value")
        mExpertValue = child;
    else if (name == "calendar")
        mCalendar = dynamic_cast<UiText*>(child);
    else if (name == "calendar_mark")
        mCalendarMark = child;
    else if (name == "score")
        mScore = child;
    else if (name == "score_ghost")
        mScoreGhost = child;
    if (name == "continue" || name == "calendar_mark" || name == "survival_leave" || name == "survival_replay")
        child->SetVisible(false);
    UiElement::AddChild(name, child);
}

void DebriefingDialog::SetText(const std::wstring& text)
{
    mText = text;
    if (mDebriefingText)
        mDebriefingText->SetText(text);
}

void DebriefingDialog::SetContinueDisabled(bool disabled)
{
    mContinueDisabled = disabled;
    if (mContinue)
        mContinue->SetDisabled(disabled);
}

void DebriefingDialog::OnShow()
{
    GameApp* app = App();
    if (!app)
        return;
    TextureRegistry* textures = app->GetTextureRegistry();
    OnReleaseResources();

    const std::string& skin = app->GetCurrentProfile()->mFigure;
    mBossImage.Hold(textures, "db07_boss" + skin + "_" + mResultKind);
    SetWholeFrame(mBoss, mBossImage.Take(textures));
    mBossPanelImage.Hold(textures, "db07_bosspanel_" + mResultKind);
    SetWholeFrame(mBossPanel, mBossPanelImage.Take(textures));
    mMoneyPanelImage.Hold(textures, "db07_moneypanel_" + mResultKind);
    SetWholeFrame(mMoneyPanel, mMoneyPanelImage.Take(textures));

    const bool survival = gOfficeScreen && gOfficeScreen->IsSurvival();
    if (mResultText)
        mResultText->SetText(app->GetLocTable()->Get((survival ? "db07_infinity_" : "db07_") + mResultKind));
    if (survival) {
        SetVisibleIf(mGoalValue, false);
        SetVisibleIf(mExpertValue, false);
    } else {
        ShowIf(mGoalValue);
        ShowIf(mExpertValue);
    }

    // A level outside 1..60 counts as the nearest career day.
    const int32_t level = gOfficeScreen ? gOfficeScreen->GetLevel() : 1;
    if (mCalendarMark) {
        if (IsWon() && !survival) {
            mCalendarMark->Show();
            MoveToCalendarCell(mCalendarMark, mCalendar, CalendarCell(level), kCellWidth, kCellHeight, kMarkX, kMarkY);
        } else {
            mCalendarMark->SetVisible(false);
        }
    }
    if (SfxManager* sfx = app->GetSfxManager())
        sfx->Play(IsWon() ? "good_debriefing_show" : "bad_debriefing_show");
    mCalendarImage.Hold(textures, "db07_calendar" + std::to_string(LevelCalendarMonth(level)));
    SetWholeFrame(mCalendar, mCalendarImage.Take(textures));

    mEarningsTarget = gOfficeScreen ? gOfficeScreen->GetMoney() : 0;
    mShown = 0;
    app->GetStringTable()->SetNumber("earnings", 0);
    mCountUpTime = 0;
    ShowIf(mScoreGhost);
    ShowIf(mReplay);
    if (survival) {
        SetVisibleIf(mContinue, false);
        SetVisibleIf(mReplay, false);
        ShowIf(mSurvivalReplay);
        ShowIf(mSurvivalLeave);
    } else {
        ShowIf(mContinue);
        ShowIf(mReplay);
        SetVisibleIf(mSurvivalReplay, false);
        SetVisibleIf(mSurvivalLeave, false);
    }
    if (gOfficeScreen)
        gOfficeScreen->SetEscapeAllowed(false);
}

void DebriefingDialog::Update()
{
    UiDialog::Update();
    GameApp* app = App();
    if (!mVisible || !app)
        return;
    mCountUpTime += float(app->mUpdatePeriod) / 1000.0f;
    mShown = mCountUpTime > kCountUpTime ? mEarningsTarget : int32_t(float(mEarningsTarget) * mCountUpTime / kCountUpTime);
    app->GetStringTable()->SetNumber("earnings", mShown);
}

void DebriefingDialog::OnHide()
{
    HideIf(mScoreGhost);
    HideIf(mCalendarMark);
    HideIf(mReplay);
    if (gOfficeScreen && gOfficeScreen->IsSurvival()) {
        HideIf(mSurvivalLeave);
        HideIf(mSurvivalReplay);
    } else {
        HideIf(mContinue);
        HideIf(mReplay);
    }
    if (gOfficeScreen)
        gOfficeScreen->SetEscapeAllowed(true);
}

void DebriefingDialog::OnReleaseResources()
{
    GameApp* app = App();
    TextureRegistry* textures = app ? app->GetTextureRegistry() : nullptr;
    mBossImage.Hold(textures, std::string());
    mBossPanelImage.Hold(textures, std::string());
    mMoneyPanelImage.Hold(textures, std::string());
    mCalendarImage.Hold(textures, std::string());
}

void DebriefingDialog::OnButton(intptr_t id)
{
    if (IsButton(id, mContinue)) {
        Hide();
        if (gOfficeScreen)
            gOfficeScreen->NextLevel();
    } else if (IsButton(id, mReplay) || IsButton(id, mSurvivalReplay)) {
        Hide();
        if (gOfficeScreen)
            gOfficeScreen->RestartLevel();
    } else if (IsButton(id, mSurvivalLeave)) {
        Hide();
        LeaveOffice();
    }
}
