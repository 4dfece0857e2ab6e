#include "game/flow/MainMenu.h"

#include "framework/resources/PakFileAccess.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/ProfileTexts.h"
#include "game/core/StringTable.h"
#include "game/core/WideText.h"
#include "game/flow/CareerScreen.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/HiscoresDialog.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/ScreenCalls.h"
#include "game/flow/SurvivalScreen.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiEdit.h"
#include "game/ui/UiList.h"
#include "game/ui/UiText.h"
#include "platform/Platform.h"
#include "platform/shell/Shell.h"

#include <vector>

namespace {

// "website.url" is read whole only up to this size.
constexpr long kMaxWebsiteBytes = 4096;

template <class T>
T* Child(UiElement* parent, const char* name)
{
    return parent ? dynamic_cast<T*>(parent->FindChild(name)) : nullptr;
}

void SetDisabledIf(Zelk::Widget* widget, bool disabled)
{
    if (widget)
        widget->SetDisabled(disabled);
}

} // namespace

MainMenu::MainMenu(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    auto* lock = new UiDialog(this, app);
    lock->Resize(0, 0, 800, 600);
    lock->SetVisible(false);
    mInputLock = lock;
    AddChild("lockdialog", lock);
    mShownRow = -1;
    LoadByName(root, "main_menu");
    for (UiText* boss : mBoss)
        if (boss)
            boss->SetImage(nullptr);
}

MainMenu::~MainMenu()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Give(textures);
    mWomanPicture.Give(textures);
    mChildren.clear();
    RemoveAllWidgets(true, false);
}

GameApp* MainMenu::App() const { return static_cast<GameApp*>(mContext); }

void MainMenu::AddChild(const std::string& name, UiElement* child)
{
    child->SetVisible(false);
    if (name == "main_menu_dlg") {
        mMainPanel = dynamic_cast<UiDialog*>(child);
        mCareer = Child<UiButton>(child, "career");
        mSurvival = Child<UiButton>(child, "survival");
        mHiscores = Child<UiButton>(child, "hiscores");
        mOptions = Child<UiButton>(child, "options");
        mHelp = Child<UiButton>(child, "help");
        mQuit = Child<UiButton>(child, "quit");
    } else if (name == "profile_dlg") {
        mProfilePanel = dynamic_cast<UiDialog*>(child);
        mProfileButton = Child<UiButton>(child, "profile");
        mProfileText[0] = Child<UiElement>(child, "profile_text1");
        mProfileText[1] = Child<UiElement>(child, "profile_text2");
        for (UiElement* text : mProfileText)
            if (text)
                text->SetVisible(false);
    } else if (name == "select_profile") {
        mListPanel = dynamic_cast<UiDialog*>(child);
        mListCreate = Child<UiButton>(child, "create");
        mSelect = Child<UiButton>(child, "select");
        mDelete = Child<UiButton>(child, "delete");
        mList = Child<UiList>(child, "list");
    } else if (name == "create_profile") {
        mCreatePanel = dynamic_cast<UiDialog*>(child);
        mCancel = Child<UiButton>(child, "cancel");
        mCreate = Child<UiButton>(child, "create");
        mManButton = Child<UiButton>(child, "bossman_btn");
        mWomanButton = Child<UiButton>(child, "bosswoman_btn");
        mManMark = Child<UiElement>(child, "check_bossman");
        mWomanMark = Child<UiElement>(child, "check_bosswoman");
        mNameField = Child<UiEdit>(child, "entername_text");
    } else if (name == "nameplate") {
        mNameplate = dynamic_cast<UiButton*>(child);
        ReadWebsite();
    } else {
        const int n = NumberAfter(name, "boss");
        if (n == 1 || n == 2)
            mBoss[n - 1] = dynamic_cast<UiText*>(child);
    }
    UiElement::AddChild(name, child);
}

void MainMenu::ReadWebsite()
{
    mWebsite.clear();
    PakFile* file = PakFOpen("website.url", "rb");
    if (!file) {
        if (mNameplate)
            mNameplate->mDisabled = true;
    } else {
        // A size that cannot be told counts as unreadable.
        long size = -1;
        if (PakFSeek(file, 0, SEEK_END) == 0)
            size = PakFTell(file);
        if (size >= 0 && size <= kMaxWebsiteBytes && PakFSeek(file, 0, SEEK_SET) == 0) {
            std::vector<char> buffer(size_t(size) + 2, '\0');
            const size_t read = PakFRead(buffer.data(), 1, size_t(size), file);
            buffer[read] = '\0';
            mWebsite = buffer.data();
        }
        PakFClose(file);
    }
    if (mNameplate) {
        const bool pictures = mNameplate->GetPicture(UiButton::NORMAL) && mNameplate->GetPicture(UiButton::OVER);
        mNameplate->SetVisible(pictures);
    }
}

void MainMenu::OnAcquireResources()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Take(textures);
    mWomanPicture.Take(textures);
}

void MainMenu::OnReleaseResources()
{
    TextureRegistry* textures = App()->GetTextureRegistry();
    mManPicture.Give(textures);
    mWomanPicture.Give(textures);
    mProfiles.clear();
}

void MainMenu::OnShow()
{
    if (App()->mProfileValid)
        ShowMainPanel();
    else
        OpenCreateProfile(true);
}

void MainMenu::OnHide()
{
    if (mMainPanel)
        mMainPanel->Hide();
    if (mProfilePanel)
        mProfilePanel->Hide();
    if (mBoss[mPair])
        mBoss[mPair]->Hide();
    if (mProfileText[mPair])
        mProfileText[mPair]->Hide();
}

void MainMenu::Update()
{
    UiElement::Update();
    if (!mListPanel || !mListPanel->mVisible || !mList)
        return;
    const int selected = mList->GetSelected();
    if (selected != mShownRow) {
        ShowProfile(selected);
        SetDisabledIf(mDelete, selected == App()->mPrefHeader.mCurrentIndex);
    }
}

const ProfileRecord* MainMenu::ProfileOfRow(int& row)
{
    if (row == -1) {
        row = App()->mPrefHeader.mCurrentIndex;
        return App()->GetCurrentProfile();
    }
    if (row < 0 || size_t(row) >= mProfiles.size())
        return nullptr;
    return &mProfiles[size_t(row)];
}

void MainMenu::ShowBoss(int row)
{
    const ProfileRecord* profile = ProfileOfRow(row);
    UiText* boss = mBoss[mPair];
    if (row == mShownRow || !boss || !profile)
        return;
    SetSkinFrame(boss, profile->mFigure, mManPicture.Get(), mWomanPicture.Get());
    boss->Show();
}

void MainMenu::ShowProfileText(int row)
{
    const ProfileRecord* profile = ProfileOfRow(row);
    UiElement* text = mProfileText[mPair];
    if (row == mShownRow || !text || !profile)
        return;
    text->Show();
    PublishProfileTexts(*profile, *App()->GetStringTable(), std::to_string(mPair + 1));
}

void MainMenu::HideBoss() { HideIfShown(mBoss[mPair]); }

void MainMenu::HideProfileText() { HideIfShown(mProfileText[mPair]); }

void MainMenu::ShowProfile(int row)
{
    HideBoss();
    HideProfileText();
    mPair = 1 - mPair;
    ShowBoss(row);
    ShowProfileText(row);
    mShownRow = row;
}

void MainMenu::ShowMainPanel()
{
    App()->PublishProfileTexts();
    if (mMainPanel)
        mMainPanel->Show();
    ShowIfHidden(mProfilePanel);
    ShowIfHidden(mProfileText[mPair]);
    ShowBoss(-1);
    ShowProfileText(-1);
    if (mProfileButton)
        mProfileButton->Show();
}

void MainMenu::OpenProfileList()
{
    HideIfShown(mMainPanel);
    ShowIfHidden(mListPanel);
    HideIfShown(mProfileButton);
    FillProfileList();
}

void MainMenu::FillProfileList()
{
    if (!mList)
        return;
    mProfiles.clear();
    App()->ListProfiles(mProfiles);
    mList->Clear();
    for (const ProfileRecord& profile : mProfiles)
        mList->AddItem(profile.mName);
    const int current = App()->mPrefHeader.mCurrentIndex;
    mList->SetMarkedRow(current);
    mList->SetSelected(current);
    mShownRow = current;
    SetDisabledIf(mDelete, true);
}

void MainMenu::OpenCreateProfile(bool cancelDisabled)
{
    HideBoss();
    HideProfileText();
    HideIfShown(mProfileButton);
    if (mWomanMark)
        mWomanMark->Show();
    SetDisabledIf(mWomanButton, true);
    if (mManMark)
        mManMark->Hide();
    SetDisabledIf(mManButton, false);
    mPair = 1 - mPair;
    if (UiText* boss = mBoss[mPair]) {
        SetWholeFrame(boss, mWomanPicture.Get());
        boss->Show();
    }
    mInputLock->Show();
    MoveToTop(mInputLock);
    if (mCreatePanel) {
        mCreatePanel->Show();
        MoveToTop(mCreatePanel);
    }
    SetDisabledIf(mCancel, cancelDisabled);
    if (mProfilePanel)
        mProfilePanel->Show();
}

void MainMenu::ChooseLook(bool man)
{
    UiElement* chosenMark = man ? mManMark : mWomanMark;
    UiElement* otherMark = man ? mWomanMark : mManMark;
    UiButton* chosenButton = man ? mManButton : mWomanButton;
    UiButton* otherButton = man ? mWomanButton : mManButton;
    if (chosenMark)
        chosenMark->Show();
    if (otherMark)
        otherMark->Hide();
    SetDisabledIf(chosenButton, true);
    SetDisabledIf(otherButton, false);
    if (mBoss[mPair])
        mBoss[mPair]->Hide();
    mPair = 1 - mPair;
    if (UiText* boss = mBoss[mPair]) {
        SetWholeFrame(boss, man ? mManPicture.Get() : mWomanPicture.Get());
        boss->Show();
    }
}

void MainMenu::CreateProfile()
{
    if (!mNameField)
        return;
    const std::wstring name = CleanWideText(mNameField->GetText());
    if (name.empty())
        return;
    // The look is the visible mark; without one no profile is made and the
    // panel stays open.
    const char* look = nullptr;
    if (mManMark && mWomanMark)
        look = mManMark->mVisible ? "man" : mWomanMark->mVisible ? "woman" : nullptr;
    if (!look)
        return;
    GameApp* app = App();
    // The profile played so far keeps its time and progress.
    if (app->mProfileValid)
        app->SavePrefs();
    app->CreateProfile(name, look);
    if (mCreatePanel)
        mCreatePanel->Hide();
    if (mListPanel)
        mListPanel->Hide();
    mInputLock->Hide();
    ShowMainPanel();
    app->mWidgetManager->SetFocus(nullptr);
}

void MainMenu::OnButton(intptr_t id)
{
    GameApp* app = App();
    OfficeScreen* office = app->GetOfficeScreen();
    if (IsButton(id, mCareer)) {
        Hide();
        mShownRow = -1;
        if (office)
            office->SetSurvival(false);
        if (app->mCareerScreen)
            app->mCareerScreen->Show();
    } else if (IsButton(id, mQuit)) {
        if (MessageBoxDialog::Show("quit") == 1)
            app->Shutdown();
    } else if (IsButton(id, mHelp)) {
        if (app->mHelpDialog)
            app->mHelpDialog->Show();
    } else if (IsButton(id, mOptions)) {
        if (app->mOptionsDialog)
            app->mOptionsDialog->Show();
    } else if (IsButton(id, mHiscores)) {
        if (app->mHiscoresDialog)
            app->mHiscoresDialog->Show();
    } else if (IsButton(id, mProfileButton)) {
        OpenProfileList();
    } else if (IsButton(id, mSurvival)) {
        Hide();
        mShownRow = -1;
        if (office)
            office->SetSurvival(true);
        if (app->mSurvivalScreen)
            app->mSurvivalScreen->Show();
    } else if (IsButton(id, mSelect)) {
        if (mListPanel)
            mListPanel->Hide();
        if (mList && mList->GetSelected() >= 0) {
            // The profile played so far keeps its time and progress.
            if (app->mProfileValid)
                app->SavePrefs();
            app->SelectProfile(mList->GetSelected());
        }
        ShowMainPanel();
    } else if (IsButton(id, mDelete)) {
        if (mList && mProfiles.size() > 1 && MessageBoxDialog::Show("delprof") == 1) {
            if (mList->GetSelected() >= 0)
                app->DeleteProfile(mList->GetSelected());
            FillProfileList();
            ShowProfile(-1);
        }
    } else if (IsButton(id, mListCreate)) {
        OpenCreateProfile(false);
    } else if (IsButton(id, mCancel)) {
        if (mList) {
            mShownRow = -1;
            ShowProfile(mList->GetSelected());
        }
        if (mCreatePanel)
            mCreatePanel->Hide();
        mInputLock->Hide();
    } else if (IsButton(id, mManButton)) {
        ChooseLook(true);
    } else if (IsButton(id, mWomanButton)) {
        ChooseLook(false);
    } else if (IsButton(id, mCreate)) {
        CreateProfile();
    } else if (IsButton(id, mNameplate)) {
        if (!mWebsite.empty()) {
            if (plat::Shell* shell = plat::Get().shell)
                shell->Execute("OPEN", "website.url", "", "", plat::SW_SHOWNA);
        }
    }
}
