#pragma once
// The in-game menu (layout "escape_menu"): resume, restart the level (after
// a question), the options, the help, and leaving for the main menu (after a
// question). While it is open the day stands still, the game's sounds are
// paused and a full-screen backdrop in the HUD keeps the mouse off the office.
#include "game/ui/UiDialog.h"

class GameApp;
class UiButton;

class EscapeMenu : public UiDialog {
public:
    static constexpr int kEscapeKey = 27;

    EscapeMenu(GameApp* app, const XmlNode& root);
    // The backdrop leaves the parent and is deleted.
    ~EscapeMenu() override;

    // Escape closes the menu.
    void KeyUp(int key) override;
    // Opens the menu: the day stops (the state found is kept for the close),
    // the backdrop goes under the menu and the game's sounds pause, each once
    // however often the menu is shown.
    void OnShow() override;
    // Closes an open menu: the day's state found at the open comes back, the
    // backdrop goes and the sounds this menu paused resume; nothing for a
    // menu that is not open, nothing of the office screen when it is gone.
    void OnHide() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    bool IsOpen() const { return mOpen; }
    UiDialog* GetBackdrop() const { return mBackdrop; }

private:
    GameApp* App() const;

    UiButton* mRestart = nullptr;
    UiButton* mResume = nullptr;
    UiButton* mSettings = nullptr;
    UiButton* mHelp = nullptr;
    UiButton* mQuit = nullptr;
    UiDialog* mBackdrop = nullptr;
    bool mOpen = false;
    bool mPausedSounds = false;
    bool mDayWasRunning = false;
};
