#include "game/flow/CareerScreen.h"

#include "game/core/GameApp.h"

CareerScreen::CareerScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

CareerScreen::~CareerScreen() = default;
