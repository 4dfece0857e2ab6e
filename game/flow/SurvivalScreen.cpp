#include "game/flow/SurvivalScreen.h"

#include "game/core/GameApp.h"

SurvivalScreen::SurvivalScreen(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

SurvivalScreen::~SurvivalScreen() = default;
