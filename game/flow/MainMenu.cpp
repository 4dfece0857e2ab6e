#include "game/flow/MainMenu.h"

#include "game/core/GameApp.h"

MainMenu::MainMenu(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

MainMenu::~MainMenu() = default;
