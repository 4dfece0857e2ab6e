#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiElement.h"

#include <atomic>

class GameApp;

// The in-game screen: shows the office and runs a level day. While paused
// (the application has lost the focus) its update does nothing; the focus
// hooks may set the flag from any stepping thread. Filled in by the office
// screen.
class OfficeScreen : public UiElement {
public:
    OfficeScreen(GameApp* app, const XmlNode& root);
    ~OfficeScreen() override;

    void SetPaused(bool paused) { mPaused = paused; }
    bool IsPaused() const { return mPaused; }

    // The front end's calls: the mode of the next level, then its load and
    // the start of its day.
    void SetSurvival(bool survival) { mSurvival = survival; }
    bool IsSurvival() const { return mSurvival; }
    void LoadLevel(int level);
    void StartDay();
    int GetLevel() const { return mLevel; }
    // Whether the Escape key may open the escape menu; dialogs over the
    // office clear it while they are shown.
    void SetEscapeAllowed(bool allowed) { mEscapeAllowed = allowed; }
    bool IsEscapeAllowed() const { return mEscapeAllowed; }

private:
    std::atomic<bool> mPaused{false};
    bool mSurvival = false;
    int mLevel = 0;
    bool mEscapeAllowed = false;
};
