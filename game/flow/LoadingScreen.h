#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// Covers the loading of a level (layout "load_screen"), stepping the
// application on a thread of its own meanwhile.
// Filled in by the loading screen.
class LoadingScreen : public UiDialog {
public:
    LoadingScreen(GameApp* app, const XmlNode& root);
    ~LoadingScreen() override;
};
