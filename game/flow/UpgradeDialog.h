#pragma once
// The survival upgrade offer (layout "upgrade"): three options, each a
// container ("pic1".."pic3") with a picture button "pic", a text "text" and a
// selection mark "check". Choose shows it over a full-screen blocker and
// runs application steps until the player confirms a marked option with
// "upgrade". While shown the day stands still and Escape does nothing.
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

#include <cstdint>
#include <string>

class GameApp;
class UiButton;
class UiText;

class UpgradeDialog : public UiDialog {
public:
    static constexpr int kOptions = 3;

    UpgradeDialog(GameApp* app, const XmlNode& root);
    // The blocker leaves the parent and is deleted.
    ~UpgradeDialog() override;

    void OnShow() override;
    // The blocker goes, Escape is allowed and the day runs again; nothing for
    // an offer that is not open, nothing of the office screen when it is gone.
    void OnHide() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    // Offers the three options by name (an empty name: no option) and waits
    // in a loop of application steps; the chosen name, or an empty name when
    // the loop ended without a choice (shutdown, or the dialog detached),
    // which also hides the offer.
    std::string Choose(const std::string& name1, const std::string& name2, const std::string& name3);

    int32_t GetResult() const { return mResult; }
    const std::string& GetImageId(int k) const { return mImages[k].Id(); }
    UiDialog* GetBlocker() const { return mBlocker; }

private:
    GameApp* App() const;
    // Check k shown, the others hidden.
    void Mark(int k);

    UiButton* mUpgrade = nullptr;
    UiElement* mOptions[kOptions] = {};
    HeldTexture mImages[kOptions];
    int32_t mResult = -1;
    UiDialog* mBlocker = nullptr;
    UiButton* mPics[kOptions] = {};
    UiText* mTexts[kOptions] = {};
    UiElement* mChecks[kOptions] = {};
    UiElement* mDescriptionText = nullptr;
    UiElement* mSelUpgradeText = nullptr;
    bool mOpen = false;
};
