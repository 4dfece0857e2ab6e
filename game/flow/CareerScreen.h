#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The career calendar of 60 working days (layout "career").
// Filled in by the career screen.
class CareerScreen : public UiDialog {
public:
    CareerScreen(GameApp* app, const XmlNode& root);
    ~CareerScreen() override;
};
