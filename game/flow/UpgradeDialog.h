#pragma once
// The survival upgrade offer (layout "upgrade"): while shown the day stands
// still.
#include "game/ui/UiDialog.h"

class GameApp;

class UpgradeDialog : public UiDialog {
public:
    UpgradeDialog(GameApp* app, const XmlNode& root);
    ~UpgradeDialog() override;

    void OnShow() override;
    // The day runs again; nothing for an office screen that is gone.
    void OnHide() override;
};
