#include "game/flow/HelpDialog.h"

#include "game/core/GameApp.h"

HelpDialog::HelpDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

HelpDialog::~HelpDialog() = default;
