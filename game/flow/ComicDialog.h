#pragma once
// The comic pages (layout "comix", the HUD's child "comix"): a page is
// chosen and shown; the pages before a day lead to that day's briefing.
#include "game/ui/UiDialog.h"

class GameApp;

class ComicDialog : public UiDialog {
public:
    static constexpr int kPages = 5;

    ComicDialog(GameApp* app, const XmlNode& root);
    ~ComicDialog() override;

    // Until the pages can be turned, a day's pages are done at once: the
    // briefing follows.
    void OnShow() override;

    // Page n (1..5) becomes the current one; other numbers do nothing.
    void SelectPage(int n);
    int GetCurrentPage() const { return mCurrentPage; }

private:
    int mCurrentPage = 0;
};
