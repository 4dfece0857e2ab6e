#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The front-end background (layout "global_bkg"): holds the main menu, the
// career and survival screens and the hiscores as named children.
// Filled in by the front-end screens.
class GlobalBackground : public UiDialog {
public:
    GlobalBackground(GameApp* app, const XmlNode& root);
    ~GlobalBackground() override;
};
