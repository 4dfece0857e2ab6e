#include "game/flow/GlobalBackground.h"

#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/flow/MainMenu.h"

GlobalBackground::GlobalBackground(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "global_bkg");
}

GlobalBackground::~GlobalBackground()
{
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

void GlobalBackground::OnShow()
{
    auto* app = static_cast<GameApp*>(mContext);
    app->GetMusicManager()->PlayMusic("main_menu");
    if (app->mMainMenu)
        app->mMainMenu->Show();
}
