#pragma once
#include "game/core/HiscoreTables.h"
#include "game/core/XmlFunctions.h"
#include "game/flow/PageSet.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The two hiscore tables (layout "hiscores"): page 0 the career table, page 1
// the survival table (pages are the children whose names hold "scores"),
// ten lines each ("line0".."line9" with "back", "text1", "text2"); the
// current profile's entries are highlighted.
class HiscoresDialog : public UiDialog {
public:
    static constexpr int kLines = HiscoreTables::kPlaces;

    HiscoresDialog(GameApp* app, const XmlNode& root);
    // Removes and deletes the children and theirs.
    ~HiscoresDialog() override;

    // Page 0, then both tables into their lines.
    void OnShow() override;
    void OnHide() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    void SetPage(int n) { mPages.SetPage(n); }
    void PrevPage() { SetPage(mPages.GetCurrent() - 1); }
    void NextPage() { SetPage(mPages.GetCurrent() + 1); }
    const PageSet& GetPages() const { return mPages; }

private:
    void FillPage(int page, bool survival);

    PageSet mPages{"scores"};
};
