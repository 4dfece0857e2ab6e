#pragma once
#include "game/ui/UiDialog.h"

class GameApp;
class XmlNode;

// The two hiscore tables on two pages (layout "hiscores").
// Filled in by the front-end screens.
class HiscoresDialog : public UiDialog {
public:
    HiscoresDialog(GameApp* app, const XmlNode& root);
    ~HiscoresDialog() override;
};
