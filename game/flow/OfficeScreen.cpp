#include "game/flow/OfficeScreen.h"

#include "game/core/GameApp.h"

OfficeScreen::OfficeScreen(GameApp* app, const XmlNode& root) : UiElement(nullptr) {}

OfficeScreen::~OfficeScreen() = default;

void OfficeScreen::LoadLevel(int level) { mLevel = level; }

void OfficeScreen::StartDay() {}
