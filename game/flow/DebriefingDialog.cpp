#include "game/flow/DebriefingDialog.h"

#include "game/core/GameApp.h"

DebriefingDialog::DebriefingDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "debriefing");
}

DebriefingDialog::~DebriefingDialog() = default;
