#pragma once
#include "game/core/ProfileRecord.h"
#include "game/core/XmlFunctions.h"
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

#include <string>
#include <vector>

class GameApp;
class UiButton;
class UiEdit;
class UiList;
class UiText;

// The main menu (layout "main_menu") with the player profiles: the main
// panel leads to the other screens; the profile panel shows the current
// profile (boss picture and text, in two pairs that take turns so the old
// one fades out while the new fades in); the list panel selects and deletes
// profiles; the creation panel makes one with a name and a look. The
// nameplate opens "website.url" through the desktop.
class MainMenu : public UiDialog {
public:
    MainMenu(GameApp* app, const XmlNode& root);
    ~MainMenu() override;

    void Update() override;
    void OnShow() override;
    void OnHide() override;
    void OnAcquireResources() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    void ShowMainPanel();
    void OpenProfileList();
    void FillProfileList();
    void OpenCreateProfile(bool cancelDisabled);
    // Row -1: the current profile (at its slot); otherwise a row of the
    // listing.
    void ShowProfile(int row);
    void ShowBoss(int row);
    void ShowProfileText(int row);
    void HideBoss();
    void HideProfileText();

    const std::string& GetWebsiteText() const { return mWebsite; }
    int GetShownRow() const { return mShownRow; }
    int GetPairIndex() const { return mPair; }

private:
    // The profile a row names (row -1: the current one, and row becomes its
    // slot); null for a row outside the listing.
    const ProfileRecord* ProfileOfRow(int& row);
    void ReadWebsite();
    void ChooseLook(bool man);
    void CreateProfile();
    GameApp* App() const;

    HeldTexture mManPicture{"mn01_bossman"};
    HeldTexture mWomanPicture{"mn01_bosswoman"};
    UiText* mBoss[2] = {};
    int mPair = 0;
    int mShownRow = -1;
    UiDialog* mMainPanel = nullptr;
    UiButton* mCareer = nullptr;
    UiButton* mSurvival = nullptr;
    UiButton* mHiscores = nullptr;
    UiButton* mOptions = nullptr;
    UiButton* mHelp = nullptr;
    UiButton* mQuit = nullptr;
    UiDialog* mProfilePanel = nullptr;
    UiButton* mProfileButton = nullptr;
    UiElement* mProfileText[2] = {};
    UiDialog* mListPanel = nullptr;
    UiButton* mListCreate = nullptr;
    UiButton* mSelect = nullptr;
    UiButton* mDelete = nullptr;
    UiList* mList = nullptr;
    UiDialog* mInputLock = nullptr;
    UiDialog* mCreatePanel = nullptr;
    UiButton* mCancel = nullptr;
    UiButton* mCreate = nullptr;
    UiButton* mManButton = nullptr;
    UiElement* mManMark = nullptr;
    UiButton* mWomanButton = nullptr;
    UiElement* mWomanMark = nullptr;
    UiButton* mNameplate = nullptr;
    std::string mWebsite;
    UiEdit* mNameField = nullptr;
    std::vector<ProfileRecord> mProfiles;
};
