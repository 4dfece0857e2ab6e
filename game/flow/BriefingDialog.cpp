#include "game/flow/BriefingDialog.h"

#include "game/core/GameApp.h"
#include "game/flow/OfficeScreen.h"

BriefingDialog::BriefingDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "briefing");
}

BriefingDialog::~BriefingDialog() = default;

void BriefingDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "continue")
        mContinue = child;
    UiElement::AddChild(name, child);
}

void BriefingDialog::OnButton(intptr_t id)
{
    if (mContinue && id == reinterpret_cast<intptr_t>(mContinue))
        Continue();
}

void BriefingDialog::Continue()
{
    Hide();
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(true);
}
