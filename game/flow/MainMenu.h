#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The main menu (layout "main_menu") with the player profiles.
// Filled in by the main menu.
class MainMenu : public UiDialog {
public:
    MainMenu(GameApp* app, const XmlNode& root);
    ~MainMenu() override;
};
