#pragma once
#include "game/core/XmlFunctions.h"
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

class GameApp;
class UiButton;
class UiText;

// The choice of a survival level (layout "survival"): three month pictures,
// each opening with the career month of the same number, a mark on the
// chosen one, the profile's boss, back and start.
class SurvivalScreen : public UiDialog {
public:
    SurvivalScreen(GameApp* app, const XmlNode& root);
    ~SurvivalScreen() override;

    void OnShow() override;
    void OnAcquireResources() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    int GetSelectedLevel() const { return mSelectedLevel; }
    UiButton* GetMonthPicture(int k) const { return mPictures[k - 1]; }
    UiElement* GetMonthMark(int k) const { return mMarks[k - 1]; }

private:
    GameApp* App() const;
    // Mark k shown, the others hidden; level k chosen.
    void Choose(int k);

    UiElement* mMarks[3] = {};
    UiButton* mPictures[3] = {};
    UiButton* mBack = nullptr;
    UiButton* mStart = nullptr;
    UiText* mBossIcon = nullptr;
    int mSelectedLevel = 0;
    HeldTexture mManPicture{"mn04_bossman"};
    HeldTexture mWomanPicture{"mn04_bosswoman"};
};
