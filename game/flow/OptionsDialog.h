#pragma once
#include "game/ui/UiDialog.h"

class GameApp;
class XmlNode;

// Sound volumes, mute and full screen (layout "options").
// Filled in by the front-end screens.
class OptionsDialog : public UiDialog {
public:
    OptionsDialog(GameApp* app, const XmlNode& root);
    ~OptionsDialog() override;
};
