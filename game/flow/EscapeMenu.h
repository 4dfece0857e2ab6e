#pragma once
// The in-game menu (layout "escape_menu"): while shown the day stands still
// and the game's sounds are paused.
#include "game/ui/UiDialog.h"

class GameApp;

class EscapeMenu : public UiDialog {
public:
    EscapeMenu(GameApp* app, const XmlNode& root);
    ~EscapeMenu() override;

    void OnShow() override;
    // The day runs again and the sounds this menu paused resume; nothing
    // for an office screen that is gone.
    void OnHide() override;

private:
    GameApp* mApp;
    bool mPausedSounds = false;
};
