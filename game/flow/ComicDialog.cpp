#include "game/flow/ComicDialog.h"

#include "game/core/GameApp.h"
#include "game/flow/HudPanel.h"

ComicDialog::ComicDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "comix");
}

ComicDialog::~ComicDialog() = default;

void ComicDialog::SelectPage(int n)
{
    if (n >= 1 && n <= kPages)
        mCurrentPage = n;
}

void ComicDialog::OnShow()
{
    if (mCurrentPage == kPages)
        return;
    Hide();
    if (gHudPanel)
        if (UiElement* briefing = gHudPanel->FindChild("briefing"))
            briefing->Show();
}
