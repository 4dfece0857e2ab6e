#pragma once
// The in-game head-up display (layout "hud"): the money bar, the goal and
// expert labels and values, the day clock, the menu button, in survival the
// upgrade button and the three lives, the pop-ups of a reached goal, expert
// target or new stage, and the tutorial hints (children whose names contain
// "tutorial", numbered by the digits after it). It reads the day from the
// office screen in its own update and is the parent of the in-game dialogs.
#include "game/ui/UiDialog.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class GameApp;
class OfficeScreen;
class UiBar;
class UiButton;
class UiText;

namespace Zelk {
class Image;
}

class HudPanel : public UiDialog {
public:
    // The four pictures and the clock frames ("hud_clock0", 1, ... up to the
    // first missing id) are taken now; then the layout. The screen may be
    // null (the HUD then shows no day).
    HudPanel(OfficeScreen* screen, GameApp* app, const XmlNode& root);
    // The escape menu and the upgrade dialog hidden when shown; the
    // pictures given back.
    ~HudPanel() override;

    // Reads the day: a new survival stage, the goal and expert pop-ups, the
    // bar and the clock. Nothing while the resources are released.
    void Update() override;
    // Moves to the top of its container.
    void OnShow() override;
    void OnHide() override {}
    // Remembers the named children and the hints (hidden).
    void AddChild(const std::string& name, UiElement* child) override;
    // "menu" shows the escape menu; "upgrade_btn" asks the office screen
    // for an upgrade.
    void OnButton(intptr_t id) override;

    // The hint of that id shown or hidden; nothing for an unknown id.
    virtual void ShowHint(int32_t id, bool on);
    // False for an unknown id.
    virtual bool IsHintShown(int32_t id) const;
    // The HUD for a new day of the office screen's mode.
    virtual void ResetDay();
    virtual void Release();

    // n lives shown (n below 4): lost ones disabled, regained ones enabled.
    void SetLives(int32_t n);
    void SetUpgradeDisabled(bool disabled);

    // The hint id of a child name: the number after its first "tutorial"
    // (0 without one); -1 when the name has no "tutorial".
    static int32_t HintIdOf(const std::string& name);
    // The clock frame for a day progress (0 .. frames - 1; frame 0 when the
    // progress is not a number); -1 without frames.
    static int32_t ClockFrameOf(int32_t frames, float progress);

    int32_t GetLivesShown() const { return mLivesShown; }
    int32_t GetShownStage() const { return mShownStage; }
    bool IsGoalReached() const { return mGoalReached; }
    bool IsExpertReached() const { return mExpertReached; }
    int32_t GetClockFrame() const { return mClockFrame; }
    size_t GetClockFrameCount() const { return mClockFrames.size(); }
    Zelk::Image* GetImage(const std::string& id) const;
    UiBar* GetBar() const { return mBar; }

private:
    void ShowPopup(UiElement* popup);
    // The image on a picture-text child as its frame 0.
    static void ShowImage(UiText* text, Zelk::Image* image);
    void OnUpgradeClicked();
    // The bar of a survival stage and the published next threshold.
    void ShowStageBar();

    OfficeScreen* mScreen;
    GameApp* mApp;
    std::map<std::string, Zelk::Image*> mImages;
    std::map<int32_t, UiElement*> mHints;
    UiElement* mGoalDialog = nullptr;
    UiElement* mExpertDialog = nullptr;
    UiElement* mSurvivalLives = nullptr;
    UiElement* mGoal = nullptr;
    UiElement* mGoalValue = nullptr;
    UiElement* mExpert = nullptr;
    UiElement* mExpertValue = nullptr;
    UiText* mBgHud = nullptr;
    UiBar* mBar = nullptr;
    bool mGoalReached = false;
    bool mExpertReached = false;
    UiElement* mMenu = nullptr;
    UiElement* mUpgradeBtn = nullptr;
    UiElement* mUpgradeBack = nullptr;
    int32_t mShownStage = 0;
    std::vector<std::pair<std::string, Zelk::Image*>> mClockFrames;
    UiText* mHudClock = nullptr;
    int32_t mClockFrame = -1;
    int32_t mLivesShown = 0;
    UiElement* mLives[3] = {nullptr, nullptr, nullptr};
};

// The office screen's HUD while it lives.
extern HudPanel* gHudPanel;
