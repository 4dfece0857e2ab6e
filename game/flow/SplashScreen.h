#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The first thing the game shows: full-screen pages, then the front end
// (layout "splash").
// Filled in by the front-end screens.
class SplashScreen : public UiDialog {
public:
    SplashScreen(GameApp* app, const XmlNode& root);
    ~SplashScreen() override;
};
