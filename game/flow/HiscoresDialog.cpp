#include "game/flow/HiscoresDialog.h"

#include "game/core/GameApp.h"

HiscoresDialog::HiscoresDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

HiscoresDialog::~HiscoresDialog() = default;
