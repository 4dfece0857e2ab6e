#include "game/flow/HiscoresDialog.h"

#include "game/core/GameApp.h"
#include "game/core/HiscoreTables.h"
#include "game/ui/UiText.h"

#include <cstdio>
#include <string>

HiscoresDialog::HiscoresDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "hiscores");
}

HiscoresDialog::~HiscoresDialog()
{
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

void HiscoresDialog::AddChild(const std::string& name, UiElement* child)
{
    UiElement::AddChild(name, child);
    mPages.Take(name, child);
}

void HiscoresDialog::OnShow()
{
    SetPage(0);
    FillPage(1, true);
    FillPage(0, false);
}

void HiscoresDialog::FillPage(int pageIndex, bool survival)
{
    UiElement* page = mPages.GetPage(pageIndex);
    if (!page)
        return;
    auto* app = static_cast<GameApp*>(mContext);
    const HiscoreEntry* table = app->GetHiscoreTables()->GetTable(survival);
    const std::wstring& player = app->GetCurrentProfile()->mName;
    char lineName[16];
    for (int i = 0; i < kLines; ++i) {
        std::snprintf(lineName, sizeof lineName, "line%d", i);
        UiElement* line = page->FindChild(lineName);
        if (!line)
            continue;
        const HiscoreEntry& entry = table[i];
        if (UiElement* back = line->FindChild("back"))
            back->SetDisabled(entry.mName != player);
        if (auto* name = dynamic_cast<UiText*>(line->FindChild("text1")))
            name->SetText(entry.mName);
        if (auto* score = dynamic_cast<UiText*>(line->FindChild("text2")))
            score->SetText(entry.mName.empty() ? std::wstring() : std::to_wstring(entry.mScore));
    }
}

void HiscoresDialog::OnHide() { SetPage(-1); }

void HiscoresDialog::OnButton(intptr_t id) { mPages.OnButton(id, this); }
