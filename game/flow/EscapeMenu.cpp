#include "game/flow/EscapeMenu.h"

#include "game/core/GameApp.h"
#include "game/core/SfxManager.h"
#include "game/flow/OfficeScreen.h"

EscapeMenu::EscapeMenu(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app), mApp(app)
{
    LoadByName(root, "escape_menu");
}

EscapeMenu::~EscapeMenu() = default;

void EscapeMenu::OnShow()
{
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(false);
    if (!mPausedSounds && mApp && mApp->GetSfxManager()) {
        mApp->GetSfxManager()->PauseGroup("game");
        mPausedSounds = true;
    }
}

void EscapeMenu::OnHide()
{
    if (mPausedSounds && mApp && mApp->GetSfxManager())
        mApp->GetSfxManager()->ResumeGroup("game");
    mPausedSounds = false;
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(true);
}
