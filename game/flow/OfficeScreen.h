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

private:
    std::atomic<bool> mPaused{false};
};
