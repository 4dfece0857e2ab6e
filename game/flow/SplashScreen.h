#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

#include <vector>

class GameApp;

// The first thing the game shows (layout "splash"): its child dialogs with a
// loadable background are pages, each shown 5 s of update time or until a
// key is pressed, over black. After the last page the splash hides, and
// hiding it starts the front end.
class SplashScreen : public UiDialog {
public:
    static constexpr float kPageSeconds = 5.0f;

    SplashScreen(GameApp* app, const XmlNode& root);
    ~SplashScreen() override;

    void Update() override;
    // Black over the whole screen; no picture of its own.
    void Draw(Zelk::Graphics* g) override;
    // Any key ends the current page at once.
    void KeyDown(int key) override;
    // Cursor off, focus, the current page shown (or the splash hides when it
    // has none).
    void OnAcquireResources() override;
    // The front end is shown, cursor on, no focus.
    void OnReleaseResources() override;
    // Every child starts hidden; a dialog with a loadable background becomes
    // a page.
    void AddChild(const std::string& name, UiElement* child) override;

    void NextPage();

    int GetCurrentPage() const { return mCurrentPage; }
    const std::vector<UiDialog*>& GetPages() const { return mPages; }
    float GetPageTimer() const { return mPageTimer; }

private:
    GameApp* App() const;
    // Shows a page with its background source as large as its picture.
    void ShowPage(UiDialog* page);
    UiDialog* CurrentPage() const;

    float mPageTimer = 0;
    std::vector<UiDialog*> mPages;
    int mCurrentPage = 0;
    bool mPageEnding = false;
};
