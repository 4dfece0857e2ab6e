#include "game/flow/ComicDialog.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"

#include <cstdio>

ComicDialog::ComicDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "comix");
}

ComicDialog::~ComicDialog() = default;

GameApp* ComicDialog::App() const { return static_cast<GameApp*>(mContext); }

void ComicDialog::AddChild(const std::string& name, UiElement* child)
{
    char pageName[16];
    for (int k = 1; k <= kPages; ++k) {
        std::snprintf(pageName, sizeof pageName, "comix%d", k);
        if (name != pageName)
            continue;
        mPages[k - 1] = dynamic_cast<UiDialog*>(child);
        child->SetVisible(false);
        mButtons[k - 1] = dynamic_cast<UiButton*>(child->FindChild("btn"));
        if (k == 2)
            mBackButton = dynamic_cast<UiButton*>(child->FindChild("prev_btn"));
        break;
    }
    UiElement::AddChild(name, child);
}

void ComicDialog::SelectPage(int n)
{
    if (n < 1 || n > kPages)
        return;
    if (UiDialog* current = mPages[mCurrentPage])
        current->Hide();
    mCurrentPage = n - 1;
    if (UiDialog* page = mPages[mCurrentPage]) {
        MoveToTop(page);
        page->Show();
    }
}

void ComicDialog::OnShow()
{
    GameApp* app = App();
    app->mWidgetManager->SetFocus(this);
    if (UiDialog* page = mPages[mCurrentPage])
        page->Show();
    if (mParent)
        mParent->MoveToTop(this);
}

void ComicDialog::OnHide()
{
    GameApp* app = App();
    if (OfficeScreen* office = app->GetOfficeScreen())
        app->mWidgetManager->SetFocus(office);
    if (UiDialog* page = mPages[mCurrentPage])
        page->Hide();
}

void ComicDialog::OnAcquireResources()
{
    const std::string& skin = App()->GetCurrentProfile()->mFigure;
    char id[300];
    for (int k = 1; k <= kPages; ++k) {
        UiDialog* page = mPages[k - 1];
        if (!page)
            continue;
        std::snprintf(id, sizeof id, "comix%d_%s", k, skin.c_str());
        page->SetBackground(id, Zelk::Rect(0, 0, page->mWidth, page->mHeight));
    }
}

void ComicDialog::OnButton(intptr_t id)
{
    GameApp* app = App();
    if (IsButton(id, mButtons[0])) {
        SelectPage(2);
    } else if (IsButton(id, mButtons[1]) || IsButton(id, mButtons[2]) || IsButton(id, mButtons[3])) {
        Hide();
        // The briefing is the comic's sibling under the HUD.
        if (auto* hud = dynamic_cast<UiElement*>(mParent))
            if (UiElement* briefing = hud->FindChild("briefing"))
                briefing->Show();
    } else if (IsButton(id, mButtons[4])) {
        Hide();
        if (app->mGlobalBackground)
            app->mGlobalBackground->Show();
        if (OfficeScreen* office = app->GetOfficeScreen()) {
            office->Hide();
            app->mWidgetManager->RemoveWidget(office);
        }
    } else if (IsButton(id, mBackButton)) {
        SelectPage(1);
    }
}
