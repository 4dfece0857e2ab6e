#pragma once
#include "game/ui/UiDialog.h"

class GameApp;
class XmlNode;

// The pages of help (layout "help").
// Filled in by the front-end screens.
class HelpDialog : public UiDialog {
public:
    HelpDialog(GameApp* app, const XmlNode& root);
    ~HelpDialog() override;
};
