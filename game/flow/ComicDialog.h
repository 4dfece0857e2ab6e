#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;
class UiButton;

// The comic pages of the career (layout "comix", the HUD's child "comix"):
// two pages before day 1, one before days 21 and 41, one after day 60, each
// a picture of the profile's look. The pages before a day lead to that day's
// briefing (the HUD's child "briefing"), the last one back to the front end.
class ComicDialog : public UiDialog {
public:
    static constexpr int kPages = 5;

    ComicDialog(GameApp* app, const XmlNode& root);
    ~ComicDialog() override;

    void OnShow() override;
    void OnHide() override;
    void OnAcquireResources() override;
    void OnReleaseResources() override {}
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    // Page n (1..5) becomes the current one; other numbers do nothing.
    void SelectPage(int n);

    int GetCurrentPage() const { return mCurrentPage; }
    UiDialog* GetPage(int n) const { return mPages[n - 1]; }
    UiButton* GetPageButton(int n) const { return mButtons[n - 1]; }
    UiButton* GetBackButton() const { return mBackButton; }

private:
    GameApp* App() const;

    UiDialog* mPages[kPages] = {};
    UiButton* mButtons[kPages] = {};
    UiButton* mBackButton = nullptr;
    int mCurrentPage = 0;
};
