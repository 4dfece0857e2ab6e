#include "game/flow/BriefingDialog.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/LevelCalendar.h"
#include "game/core/SfxManager.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiText.h"

#include <algorithm>

BriefingDialog::BriefingDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "briefing");
}

BriefingDialog::~BriefingDialog() { OnReleaseResources(); }

GameApp* BriefingDialog::App() const { return static_cast<GameApp*>(mContext); }

void BriefingDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "continue")
        mContinue = child;
    else if (name == "newflash")
        mNewflash = child;
    else if (name == "briefing_text")
        mBriefingText = dynamic_cast<UiText*>(child);
    else if (name == "callendar_mark")
        mCalendarMark = child;
    else if (name == "context_help")
        mContextHelp = dynamic_cast<UiText*>(child);
    UiElement::AddChild(name, child);
}

void BriefingDialog::SetText(const std::wstring& text)
{
    mText = text;
    if (mBriefingText)
        mBriefingText->SetText(text);
}

void BriefingDialog::OnShow()
{
    GameApp* app = App();
    if (!app)
        return;
    TextureRegistry* textures = app->GetTextureRegistry();
    app->mWidgetManager->SetFocus(this);

    const std::string bossId = "db06_boss" + app->GetCurrentProfile()->mFigure;
    if (bossId != mBossImage.Id() || !mBossImage.IsHeld()) {
        mBossImage.Hold(textures, bossId);
        SetWholeFrame(dynamic_cast<UiText*>(FindChild("boss")), mBossImage.Take(textures));
    }
    mCalendarImage.Give(textures);
    if (SfxManager* sfx = app->GetSfxManager())
        sfx->Play("briefing_show");

    // A level outside the career's days counts as the nearest of them.
    const int32_t level = std::clamp<int32_t>(gOfficeScreen ? gOfficeScreen->GetLevel() : 1, 1, 60);
    mCalendarImage.Hold(textures, "brief_l" + std::to_string(level));
    Zelk::Image* picture = mCalendarImage.Take(textures);
    if (picture) {
        ShowIfHidden(mNewflash);
        if (mCalendarMark)
            mCalendarMark->SetVisible(false);
    } else {
        if (mNewflash)
            mNewflash->SetVisible(false);
        MoveToCalendarCell(mCalendarMark, mContextHelp, CalendarCell(level), kCellWidth, kCellHeight, kMarkX, kMarkY);
        if (mCalendarMark)
            mCalendarMark->Show();
        // The level's own id held a reference too, also without a picture.
        mCalendarImage.Hold(textures, "brief_calendar" + std::to_string(LevelCalendarMonth(level)));
        picture = mCalendarImage.Take(textures);
    }
    SetWholeFrame(mContextHelp, picture);
    if (mBriefingText)
        mBriefingText->Show();
    if (gOfficeScreen)
        gOfficeScreen->SetEscapeAllowed(false);
}

void BriefingDialog::OnHide()
{
    if (mBriefingText)
        mBriefingText->Hide();
    if (mCalendarMark)
        mCalendarMark->Hide();
    if (gOfficeScreen) {
        gOfficeScreen->SetEscapeAllowed(true);
        if (GameApp* app = App())
            app->mWidgetManager->SetFocus(gOfficeScreen);
    }
}

void BriefingDialog::OnReleaseResources()
{
    GameApp* app = App();
    TextureRegistry* textures = app ? app->GetTextureRegistry() : nullptr;
    mBossImage.Hold(textures, std::string());
    mCalendarImage.Hold(textures, std::string());
}

void BriefingDialog::OnButton(intptr_t id)
{
    if (IsButton(id, mContinue))
        Continue();
}

void BriefingDialog::Continue()
{
    Hide();
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(true);
}
