#include "game/flow/SurvivalScreen.h"

#include "game/core/GameApp.h"
#include "game/flow/MainMenu.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiText.h"

#include <algorithm>

SurvivalScreen::SurvivalScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "survival");
}

SurvivalScreen::~SurvivalScreen()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Give(textures);
    mWomanPicture.Give(textures);
}

GameApp* SurvivalScreen::App() const { return static_cast<GameApp*>(mContext); }

void SurvivalScreen::AddChild(const std::string& name, UiElement* child)
{
    if (name == "back") {
        mBack = dynamic_cast<UiButton*>(child);
    } else if (name == "start") {
        mStart = dynamic_cast<UiButton*>(child);
    } else if (name == "boss_icon") {
        mBossIcon = dynamic_cast<UiText*>(child);
    } else if (const int k = NumberAfter(name, "month_pic"); k >= 0) {
        if (k >= 1 && k <= 3)
            mPictures[k - 1] = dynamic_cast<UiButton*>(child);
    } else if (const int m = NumberAfter(name, "month_check"); m >= 0) {
        if (m >= 1 && m <= 3) {
            mMarks[m - 1] = child;
            child->SetVisible(false);
        }
    }
    UiElement::AddChild(name, child);
}

void SurvivalScreen::OnAcquireResources()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Take(textures);
    mWomanPicture.Take(textures);
}

void SurvivalScreen::OnReleaseResources()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Give(textures);
    mWomanPicture.Give(textures);
    // The icon keeps no picture that may be gone.
    SetWholeFrame(mBossIcon, nullptr);
}

void SurvivalScreen::Choose(int k)
{
    for (int i = 1; i <= 3; ++i) {
        if (i == k)
            ShowIfHidden(mMarks[i - 1]);
        else
            HideIfShown(mMarks[i - 1]);
    }
    mSelectedLevel = k;
}

void SurvivalScreen::OnShow()
{
    const ProfileRecord* profile = App()->GetCurrentProfile();
    const int level = std::clamp(profile->mLevel, 1, ProfileRecord::kCareerWon);
    for (int k = 1; k <= 3; ++k)
        if (mPictures[k - 1])
            mPictures[k - 1]->SetDisabled(k - 1 > level / 20);
    Choose(1);
    SetSkinFrame(mBossIcon, profile->mFigure, mManPicture.Get(), mWomanPicture.Get());
}

void SurvivalScreen::OnButton(intptr_t id)
{
    for (int k = 1; k <= 3; ++k) {
        if (IsButton(id, mPictures[k - 1])) {
            Choose(k);
            return;
        }
    }
    GameApp* app = App();
    if (IsButton(id, mBack)) {
        Hide();
        if (app->mMainMenu)
            app->mMainMenu->Show();
    } else if (IsButton(id, mStart)) {
        Hide();
        StartOfficeLevel(mSelectedLevel);
    }
}
