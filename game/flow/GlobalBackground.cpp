#include "game/flow/GlobalBackground.h"

#include "game/core/GameApp.h"

GlobalBackground::GlobalBackground(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

GlobalBackground::~GlobalBackground() = default;
