#include "game/flow/OptionsDialog.h"

#include "game/core/GameApp.h"

OptionsDialog::OptionsDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

OptionsDialog::~OptionsDialog() = default;
