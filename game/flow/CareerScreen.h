#pragma once
#include "game/core/XmlFunctions.h"
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

#include <map>
#include <vector>

class GameApp;
class UiButton;
class UiText;

// The career calendar (layout "career"): the 60 working days of three months
// are the 60 career levels. Played days show a normal or expert picture, the
// next day the work picture; months open with the profile's progress. The
// player picks the next day or a played one and starts it, goes back, or
// starts the career again.
class CareerScreen : public UiDialog {
public:
    static constexpr int kDays = 60;

    CareerScreen(GameApp* app, const XmlNode& root);
    ~CareerScreen() override;

    void OnShow() override;
    void OnHide() override {}
    void OnAcquireResources() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    // Marks the day of the level (1..60; others are brought into that range)
    // and makes it the one "start" plays.
    void SelectDay(int level);

    int GetSelectedLevel() const { return mSelectedLevel; }
    UiButton* GetDayButton(int level) const;
    const std::vector<UiText*>& GetMonthCells(int month) const { return mMonthCells[month - 1]; }

private:
    GameApp* App() const;
    void GiveBackPictures();
    // One picture for every state of a day button.
    void SetDay(int level, bool disabled, HeldTexture& picture);

    UiButton* mRestart = nullptr;
    UiButton* mBack = nullptr;
    UiButton* mStart = nullptr;
    std::map<int, UiButton*> mDays;
    HeldTexture mWork{"mn04_calendar_day_work"};
    HeldTexture mNormal{"mn04_calendar_day_normal"};
    HeldTexture mExpert{"mn04_calendar_day_expert"};
    HeldTexture mWeekend{"mn04_calendar_day_weekend"};
    HeldTexture mManPicture{"mn04_bossman"};
    HeldTexture mWomanPicture{"mn04_bosswoman"};
    UiElement* mMark = nullptr;
    UiText* mBossIcon = nullptr;
    std::vector<UiText*> mMonthCells[3];
    int mSelectedLevel = 0;
};
