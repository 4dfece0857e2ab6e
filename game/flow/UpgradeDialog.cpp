#include "game/flow/UpgradeDialog.h"

#include "game/core/GameApp.h"
#include "game/flow/OfficeScreen.h"

UpgradeDialog::UpgradeDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "upgrade");
}

UpgradeDialog::~UpgradeDialog() = default;

void UpgradeDialog::OnShow()
{
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(false);
}

void UpgradeDialog::OnHide()
{
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(true);
}
