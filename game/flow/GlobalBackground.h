#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The front-end background (layout "global_bkg"): holds the main menu, the
// career and survival screens and the hiscores as named children, which show
// and hide with it. Showing it plays the menu music and shows the main menu.
class GlobalBackground : public UiDialog {
public:
    GlobalBackground(GameApp* app, const XmlNode& root);
    // Removes and deletes the children and theirs.
    ~GlobalBackground() override;

    void OnShow() override;
    void OnHide() override {}
    void OnAcquireResources() override {}
    void OnReleaseResources() override {}
};
