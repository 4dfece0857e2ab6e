#include "game/flow/LoadingScreen.h"

#include "game/core/GameApp.h"

LoadingScreen::LoadingScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

LoadingScreen::~LoadingScreen() = default;
