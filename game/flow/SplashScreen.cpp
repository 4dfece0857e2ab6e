#include "game/flow/SplashScreen.h"

#include "game/core/GameApp.h"

SplashScreen::SplashScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

SplashScreen::~SplashScreen() = default;
