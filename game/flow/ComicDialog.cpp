#include "game/flow/ComicDialog.h"

#include "game/core/GameApp.h"
#include "game/flow/HudPanel.h"

ComicDialog::ComicDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "comix");
}

ComicDialog::~ComicDialog() = default;

void ComicDialog::OnShow()
{
    mShown.push_back(mPageSet);
    if (mPageSet == kFinalPageSet)
        return;
    Hide();
    if (gHudPanel)
        if (UiElement* briefing = gHudPanel->FindChild("briefing"))
            briefing->Show();
}
