#include "game/flow/CareerScreen.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiText.h"

#include <algorithm>
#include <cstdio>

CareerScreen::CareerScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "career");
}

CareerScreen::~CareerScreen()
{
    if (mWidgetManager && mParent == mWidgetManager)
        mWidgetManager->RemoveWidget(this);
    GiveBackPictures();
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

GameApp* CareerScreen::App() const { return static_cast<GameApp*>(mContext); }

UiButton* CareerScreen::GetDayButton(int level) const
{
    auto it = mDays.find(level);
    return it == mDays.end() ? nullptr : it->second;
}

void CareerScreen::AddChild(const std::string& name, UiElement* child)
{
    UiElement::AddChild(name, child);
    if (name == "restart") {
        mRestart = dynamic_cast<UiButton*>(child);
    } else if (name == "back") {
        mBack = dynamic_cast<UiButton*>(child);
    } else if (name == "start") {
        mStart = dynamic_cast<UiButton*>(child);
    } else if (name == "mark") {
        mMark = child;
    } else if (name == "boss_icon") {
        mBossIcon = dynamic_cast<UiText*>(child);
    } else if (const int day = NumberAfter(name, "career_day"); day >= 1 && day <= kDays) {
        if (auto* button = dynamic_cast<UiButton*>(child)) {
            button->SetId(day);
            mDays[day] = button;
        }
    } else if (const int month = NumberAfter(name, "episode"); month >= 1 && month <= 3) {
        if (auto* cell = dynamic_cast<UiText*>(child))
            mMonthCells[month - 1].push_back(cell);
    }
}

void CareerScreen::OnAcquireResources()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    for (HeldTexture* picture : {&mWork, &mNormal, &mExpert, &mWeekend, &mManPicture, &mWomanPicture})
        picture->Take(textures);
}

void CareerScreen::GiveBackPictures()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    for (HeldTexture* picture : {&mWork, &mNormal, &mExpert, &mWeekend, &mManPicture, &mWomanPicture})
        picture->Give(textures);
}

void CareerScreen::OnReleaseResources()
{
    GiveBackPictures();
    // The icon keeps no picture that may be gone.
    SetWholeFrame(mBossIcon, nullptr);
}

void CareerScreen::SelectDay(int level)
{
    // A level read from pref.dat may be anything.
    level = std::clamp(level, 1, kDays);
    UiButton* day = GetDayButton(level);
    if (day && mMark) {
        mMark->Show();
        mMark->Move(day->GetLayoutX() - 16, day->GetLayoutY() - 14);
    } else if (mMark) {
        mMark->Hide();
    }
    mSelectedLevel = level;
}

void CareerScreen::SetDay(int level, bool disabled, HeldTexture& picture)
{
    if (UiButton* day = GetDayButton(level)) {
        day->SetDisabled(disabled);
        day->SetAllTextures(picture.Get());
    }
}

void CareerScreen::OnShow()
{
    GameApp* app = App();
    const ProfileRecord* profile = app->GetCurrentProfile();
    // A level read from pref.dat may be anything; 61 is the career won.
    const int level = std::clamp(profile->mLevel, 1, ProfileRecord::kCareerWon);
    SelectDay(level);
    for (int i = 1; i <= std::min(level - 1, kDays); ++i) {
        const bool expert = profile->mBestMoney[i - 1] > app->mExpertTargets[i - 1];
        SetDay(i, false, expert ? mExpert : mNormal);
    }
    if (level <= kDays) {
        SetDay(level, false, mWork);
        SelectDay(level);
        int i = level + 1;
        for (; i <= kDays && i % 20 != 1; ++i)
            SetDay(i, true, mWork);
        for (; i <= kDays; ++i)
            SetDay(i, true, mNormal);
    }
    char name[32];
    for (int m = 1; m <= 3; ++m) {
        const bool locked = m - 1 > level / 20;
        for (UiText* cell : mMonthCells[m - 1]) {
            cell->SetImage(mWeekend.Get());
            cell->SetDisabled(locked);
        }
        std::snprintf(name, sizeof name, "month%d_pic", m);
        if (UiElement* picture = FindChild(name))
            picture->SetDisabled(locked);
        std::snprintf(name, sizeof name, "month%d_text", m);
        if (UiElement* text = FindChild(name))
            text->SetDisabled(locked);
    }
    app->PublishProfileTexts();
    SetSkinFrame(mBossIcon, profile->mFigure, mManPicture.Get(), mWomanPicture.Get());
}

void CareerScreen::OnButton(intptr_t id)
{
    if (id == 0)
        return;
    if (id >= 1 && id <= kDays) {
        SelectDay(int(id));
        return;
    }
    GameApp* app = App();
    if (IsButton(id, mRestart)) {
        if (MessageBoxDialog::Show("delcareer") == 1) {
            app->GetCurrentProfile()->mLevel = 1;
            OnShow();
        }
    } else if (IsButton(id, mBack)) {
        Hide();
        if (app->mMainMenu)
            app->mMainMenu->Show();
    } else if (IsButton(id, mStart)) {
        Hide();
        StartOfficeLevel(mSelectedLevel);
    }
}
