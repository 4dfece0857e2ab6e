#include "game/flow/OfficeScreen.h"

#include "game/core/GameApp.h"

OfficeScreen::OfficeScreen(GameApp* app, const XmlNode& root) : UiElement(nullptr) {}

OfficeScreen::~OfficeScreen() = default;
