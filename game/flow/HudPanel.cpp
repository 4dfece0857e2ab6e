#include "game/flow/HudPanel.h"

#include "framework/graphics/Image.h"
#include "game/core/GameApp.h"
#include "game/core/SfxManager.h"
#include "game/core/StringTable.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/OfficeScreen.h"
#include "game/ui/UiBar.h"
#include "game/ui/UiText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

HudPanel* gHudPanel = nullptr;

namespace {

const char* const kImageIds[] = {"hud_expert", "hud_goal", "bar", "bar_ex"};

void HideWithChildren(UiElement* element)
{
    if (!element)
        return;
    element->SetVisible(false);
    element->HideChildren();
}

} // namespace

HudPanel::HudPanel(OfficeScreen* screen, GameApp* app, const XmlNode& root)
    : UiDialog(screen, app), mScreen(screen), mApp(app)
{
    if (TextureRegistry* textures = app ? app->GetTextureRegistry() : nullptr) {
        for (const char* id : kImageIds)
            mImages[id] = textures->Get(id);
        for (int k = 0;; ++k) {
            char id[32];
            std::snprintf(id, sizeof id, "hud_clock%d", k);
            Zelk::Image* frame = textures->Get(id);
            if (!frame) {
                // A known id whose picture failed counted a reference too.
                if (textures->GetRefCount(id) > 0)
                    textures->Release(id);
                break;
            }
            mClockFrames.emplace_back(id, frame);
        }
    }
    LoadByName(root, "hud");
}

HudPanel::~HudPanel()
{
    for (const char* name : {"escape_menu", "upgrade"})
        if (UiElement* dialog = FindChild(name))
            if (dialog->mVisible)
                dialog->Hide();
    if (TextureRegistry* textures = mApp ? mApp->GetTextureRegistry() : nullptr) {
        for (const auto& image : mImages)
            if (image.second)
                textures->Release(image.first);
        for (const auto& frame : mClockFrames)
            textures->Release(frame.first);
    }
    if (gHudPanel == this)
        gHudPanel = nullptr;
}

Zelk::Image* HudPanel::GetImage(const std::string& id) const
{
    auto found = mImages.find(id);
    return found == mImages.end() ? nullptr : found->second;
}

int32_t HudPanel::HintIdOf(const std::string& name)
{
    const size_t at = name.find("tutorial");
    if (at == std::string::npos)
        return -1;
    return int32_t(std::atoi(name.c_str() + at + 8));
}

int32_t HudPanel::ClockFrameOf(int32_t frames, float progress)
{
    if (frames <= 0)
        return -1;
    const float p = 1.0f - progress;
    if (!(p == p))
        return 0;
    const float scaled = float(frames - 1) * p;
    if (!(scaled > 0))
        return 0;
    if (scaled >= float(frames - 1))
        return frames - 1;
    return int32_t(scaled);
}

void HudPanel::AddChild(const std::string& name, UiElement* child)
{
    if (name == "menu")
        mMenu = child;
    else if (name == "goal_dialog")
        mGoalDialog = child;
    else if (name == "expert_dialog")
        mExpertDialog = child;
    else if (name == "expert")
        mExpert = child;
    else if (name == "goal")
        mGoal = child;
    else if (name == "expert_value")
        mExpertValue = child;
    else if (name == "goal_value")
        mGoalValue = child;
    else if (name == "bg_hud")
        mBgHud = dynamic_cast<UiText*>(child);
    else if (name == "bar")
        mBar = dynamic_cast<UiBar*>(child);
    else if (name == "upgrade_btn")
        mUpgradeBtn = child;
    else if (name == "upgrade_back")
        mUpgradeBack = child;
    else if (name == "hud_clock")
        mHudClock = dynamic_cast<UiText*>(child);
    else if (name == "survival_lives")
        mSurvivalLives = child;

    if (name == "goal_dialog" || name == "expert_dialog") {
        HideWithChildren(child);
    } else if (name == "expert" || name == "goal" || name == "expert_value" || name == "goal_value") {
        child->SetVisible(false);
    } else if (name == "survival_lives") {
        for (int i = 0; i < 3; ++i)
            mLives[i] = child->FindChild("life" + std::to_string(i + 1));
    } else if (!mChildren.count(name) && name != "menu" && name != "bg_hud" && name != "bar" &&
               name != "upgrade_btn" && name != "upgrade_back" && name != "hud_clock") {
        const int32_t id = HintIdOf(name);
        if (id >= 0) {
            mHints[id] = child;
            child->SetVisible(false);
        }
    }
    UiElement::AddChild(name, child);
}

void HudPanel::ShowImage(UiText* text, Zelk::Image* image)
{
    if (text)
        text->SetFrame(0, image, Zelk::Rect(0, 0, text->mWidth, text->mHeight));
}

void HudPanel::ShowPopup(UiElement* popup)
{
    if (!popup)
        return;
    popup->Show();
    popup->ShowChildren();
}

void HudPanel::ShowHint(int32_t id, bool on)
{
    auto found = mHints.find(id);
    if (found == mHints.end())
        return;
    if (on)
        found->second->Show();
    else
        found->second->Hide();
}

bool HudPanel::IsHintShown(int32_t id) const
{
    auto found = mHints.find(id);
    return found != mHints.end() && found->second->mVisible;
}

void HudPanel::ShowStageBar()
{
    if (!mScreen)
        return;
    if (mBar) {
        mBar->SetMax(int(int64_t(mScreen->GetNextStageMoney()) - mScreen->GetStageStartMoney()));
        mBar->SetValue(int(int64_t(mScreen->GetMoney()) - mScreen->GetStageStartMoney()));
    }
    if (mApp && mApp->GetStringTable())
        mApp->GetStringTable()->SetNumber("normal", mScreen->GetNextStageMoney());
}

void HudPanel::ResetDay()
{
    mGoalReached = false;
    mExpertReached = false;
    mShownStage = 0;
    HideWithChildren(mExpertDialog);
    HideWithChildren(mGoalDialog);
    for (UiElement* shown : {mGoal, mGoalValue})
        if (shown)
            shown->Show();
    for (UiElement* hidden : {mExpert, mExpertValue})
        if (hidden)
            hidden->Hide();
    ShowImage(mBgHud, GetImage("hud_goal"));
    for (const auto& hint : mHints)
        hint.second->Hide();
    const bool survival = mScreen && mScreen->IsSurvival();
    if (!survival) {
        if (mBar && mScreen)
            mBar->SetMax(mScreen->GetLevelParams().normal);
        if (mBar)
            mBar->SetImages(GetImage("bar"));
        for (UiElement* hidden : {mUpgradeBtn, mUpgradeBack, mSurvivalLives})
            if (hidden)
                hidden->Hide();
        if (mHudClock)
            mHudClock->SetVisible(true);
    } else {
        ShowStageBar();
        if (mBar)
            mBar->SetImages(GetImage("bar"));
        for (UiElement* shown : {mUpgradeBtn, mUpgradeBack, mSurvivalLives})
            if (shown)
                shown->Show();
        if (mHudClock)
            mHudClock->SetVisible(false);
    }
    AcquireResources();
}

void HudPanel::Update()
{
    UiDialog::Update();
    if (mResourcesReleased || !mScreen)
        return;
    const int32_t money = mScreen->GetMoney();
    if (mScreen->IsSurvival()) {
        if (mScreen->GetStageIndex() > mShownStage) {
            ShowPopup(mGoalDialog);
            mShownStage = mScreen->GetStageIndex();
            ShowStageBar();
        }
        if (mBar)
            mBar->SetValue(int(int64_t(money) - mScreen->GetStageStartMoney()));
    } else {
        const LevelParams& params = mScreen->GetLevelParams();
        if (money >= params.normal) {
            if (!mGoalReached) {
                mGoalReached = true;
                ShowPopup(mGoalDialog);
                for (UiElement* hidden : {mGoal, mGoalValue})
                    if (hidden)
                        hidden->Hide();
                for (UiElement* shown : {mExpert, mExpertValue})
                    if (shown)
                        shown->Show();
                ShowImage(mBgHud, GetImage("hud_expert"));
                if (mBar) {
                    mBar->SetMax(int(int64_t(params.expert) - params.normal));
                    mBar->SetImages(GetImage("bar_ex"));
                }
                if (mApp && mApp->GetSfxManager())
                    mApp->GetSfxManager()->Play("goal");
            } else if (money >= params.expert && !mExpertReached) {
                ShowPopup(mExpertDialog);
                if (mApp && mApp->GetSfxManager())
                    mApp->GetSfxManager()->Play("expert");
                mExpertReached = true;
            }
        }
        if (mBar)
            mBar->SetValue(money < params.normal ? money : int(int64_t(money) - params.normal));
    }
    const int32_t frame = ClockFrameOf(int32_t(mClockFrames.size()), mScreen->DayProgress());
    if (frame >= 0 && mHudClock) {
        mClockFrame = frame;
        ShowImage(mHudClock, mClockFrames[size_t(frame)].second);
    }
}

void HudPanel::SetLives(int32_t n)
{
    if (n >= 4 || n == mLivesShown)
        return;
    if (n < mLivesShown) {
        for (int32_t life = mLivesShown; life > n; --life)
            if (life >= 1 && life <= 3 && mLives[life - 1])
                mLives[life - 1]->SetDisabled(true);
    } else {
        for (int32_t life = mLivesShown + 1; life <= n; ++life)
            if (life >= 1 && life <= 3 && mLives[life - 1])
                mLives[life - 1]->SetDisabled(false);
    }
    mLivesShown = n;
}

void HudPanel::SetUpgradeDisabled(bool disabled)
{
    if (mUpgradeBtn)
        mUpgradeBtn->SetDisabled(disabled);
}

void HudPanel::OnShow()
{
    if (mParent)
        mParent->MoveToTop(this);
}

void HudPanel::OnButton(intptr_t id)
{
    if (mMenu && id == reinterpret_cast<intptr_t>(mMenu)) {
        if (UiElement* menu = FindChild("escape_menu"))
            menu->Show();
    } else if (mUpgradeBtn && id == reinterpret_cast<intptr_t>(mUpgradeBtn)) {
        OnUpgradeClicked();
    }
}

void HudPanel::OnUpgradeClicked()
{
    if (mApp && mApp->GetOfficeScreen())
        mApp->GetOfficeScreen()->ApplyUpgrade();
}

void HudPanel::Release() { UiElement::ReleaseResources(); }
