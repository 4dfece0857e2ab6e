#pragma once
#include "game/core/XmlFunctions.h"
#include "game/flow/PageSet.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The pages of help (layout "help"; pages are the children whose names hold
// "page"), opened from the main menu and the escape menu. While it is shown
// the Escape key does not reach the escape menu.
class HelpDialog : public UiDialog {
public:
    HelpDialog(GameApp* app, const XmlNode& root);
    // Removes and deletes the children and theirs.
    ~HelpDialog() override;

    // On top, page 0, escape off.
    void OnShow() override;
    // No page, escape on.
    void OnHide() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    void SetPage(int n) { mPages.SetPage(n); }
    void PrevPage() { SetPage(mPages.GetCurrent() - 1); }
    void NextPage() { SetPage(mPages.GetCurrent() + 1); }
    const PageSet& GetPages() const { return mPages; }

private:
    PageSet mPages{"page"};
};
