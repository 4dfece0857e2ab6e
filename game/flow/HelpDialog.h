#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The pages of help (layout "help").
// Filled in by the front-end screens.
class HelpDialog : public UiDialog {
public:
    HelpDialog(GameApp* app, const XmlNode& root);
    ~HelpDialog() override;
};
