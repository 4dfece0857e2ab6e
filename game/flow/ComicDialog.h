#pragma once
// The comic pages (layout "comix"): a page set is chosen and shown; when the
// pages of a day's start are done the briefing follows.
#include "game/ui/UiDialog.h"

#include <cstdint>
#include <vector>

class GameApp;

class ComicDialog : public UiDialog {
public:
    // The page set that ends the career.
    static constexpr int32_t kFinalPageSet = 5;

    ComicDialog(GameApp* app, const XmlNode& root);
    ~ComicDialog() override;

    virtual void SelectPage(int32_t pageSet) { mPageSet = pageSet; }
    // The pages are done at once: a day's comic hands over to the briefing.
    void OnShow() override;

    int32_t GetPageSet() const { return mPageSet; }
    // Every page set shown, in order.
    const std::vector<int32_t>& GetShownPageSets() const { return mShown; }

private:
    int32_t mPageSet = 0;
    std::vector<int32_t> mShown;
};
