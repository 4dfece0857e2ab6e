#include "game/flow/HelpDialog.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/flow/ScreenCalls.h"

HelpDialog::HelpDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) { LoadByName(root, "help"); }

HelpDialog::~HelpDialog()
{
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

void HelpDialog::AddChild(const std::string& name, UiElement* child)
{
    UiElement::AddChild(name, child);
    mPages.Take(name, child);
}

void HelpDialog::OnShow()
{
    static_cast<GameApp*>(mContext)->mWidgetManager->MoveToTop(this);
    SetPage(0);
    AllowOfficeEscape(false);
}

void HelpDialog::OnHide()
{
    SetPage(-1);
    AllowOfficeEscape(true);
}

void HelpDialog::OnButton(intptr_t id) { mPages.OnButton(id, this); }
