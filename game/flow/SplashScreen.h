#pragma once
#include "game/ui/UiDialog.h"

class GameApp;
class XmlNode;

// The first thing the game shows: full-screen pages, then the front end
// (layout "splash").
// Filled in by the front-end screens.
class SplashScreen : public UiDialog {
public:
    SplashScreen(GameApp* app, const XmlNode& root);
    ~SplashScreen() override;
};
