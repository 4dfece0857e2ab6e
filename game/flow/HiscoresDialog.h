#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The two hiscore tables on two pages (layout "hiscores").
// Filled in by the front-end screens.
class HiscoresDialog : public UiDialog {
public:
    HiscoresDialog(GameApp* app, const XmlNode& root);
    ~HiscoresDialog() override;
};
