#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The choice of a survival stage (layout "survival").
// Filled in by the survival screen.
class SurvivalScreen : public UiDialog {
public:
    SurvivalScreen(GameApp* app, const XmlNode& root);
    ~SurvivalScreen() override;
};
