#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// Sound volumes, mute and full screen (layout "options").
// Filled in by the front-end screens.
class OptionsDialog : public UiDialog {
public:
    OptionsDialog(GameApp* app, const XmlNode& root);
    ~OptionsDialog() override;
};
