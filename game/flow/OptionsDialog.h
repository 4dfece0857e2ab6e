#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;
class UiButton;
class UiCheckBox;
class UiSlider;

// Sound volumes, mute and full screen (layout "options"), opened from the
// main menu and the escape menu. Mute and volumes take effect and are stored
// while the controls move; "apply" also switches the screen mode. A backdrop
// of its own lies under it while it is shown.
class OptionsDialog : public UiDialog {
public:
    OptionsDialog(GameApp* app, const XmlNode& root);
    // Takes the backdrop out of its container and deletes it.
    ~OptionsDialog() override;

    // The settings into the controls.
    void Update() override;
    void OnShow() override;
    void OnHide() override;
    void OnAcquireResources() override {}
    void OnReleaseResources() override {}
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    UiDialog* GetBackdrop() const { return mBackdrop; }

private:
    GameApp* App() const;

    UiCheckBox* mMuteBox = nullptr;
    UiCheckBox* mFullScreenBox = nullptr;
    UiButton* mCancel = nullptr;
    UiButton* mApply = nullptr;
    UiSlider* mSoundSlider = nullptr;
    UiSlider* mMusicSlider = nullptr;
    UiDialog* mBackdrop = nullptr;
};
