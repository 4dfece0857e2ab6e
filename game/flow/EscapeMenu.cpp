#include "game/flow/EscapeMenu.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/SfxManager.h"
#include "game/flow/HelpDialog.h"
#include "game/flow/MessageBoxDialog.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/OptionsDialog.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"

EscapeMenu::EscapeMenu(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    mBackdrop = new UiDialog(nullptr, app);
    mBackdrop->Resize(0, 0, 800, 600);
    LoadByName(root, "escape_menu");
}

EscapeMenu::~EscapeMenu()
{
    RemoveBackdrop(mBackdrop);
    delete mBackdrop;
}

GameApp* EscapeMenu::App() const { return static_cast<GameApp*>(mContext); }

void EscapeMenu::AddChild(const std::string& name, UiElement* child)
{
    if (name == "restart")
        mRestart = dynamic_cast<UiButton*>(child);
    else if (name == "resume")
        mResume = dynamic_cast<UiButton*>(child);
    else if (name == "settings")
        mSettings = dynamic_cast<UiButton*>(child);
    else if (name == "help")
        mHelp = dynamic_cast<UiButton*>(child);
    else if (name == "quit")
        mQuit = dynamic_cast<UiButton*>(child);
    UiElement::AddChild(name, child);
}

void EscapeMenu::KeyUp(int key)
{
    if (key == kEscapeKey)
        Hide();
}

void EscapeMenu::OnShow()
{
    if (!mOpen) {
        mDayWasRunning = gOfficeScreen && gOfficeScreen->IsDayRunning();
        mOpen = true;
    }
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(false);
    RaiseOverBackdrop(this, mBackdrop);
    GameApp* app = App();
    if (!mPausedSounds && app && app->GetSfxManager()) {
        app->GetSfxManager()->PauseGroup("game");
        mPausedSounds = true;
    }
}

void EscapeMenu::OnHide()
{
    if (!mOpen)
        return;
    mOpen = false;
    if (gOfficeScreen)
        gOfficeScreen->SetDayRunning(mDayWasRunning);
    RemoveBackdrop(mBackdrop);
    GameApp* app = App();
    if (mPausedSounds && app && app->GetSfxManager())
        app->GetSfxManager()->ResumeGroup("game");
    mPausedSounds = false;
}

void EscapeMenu::OnButton(intptr_t id)
{
    GameApp* app = App();
    if (IsButton(id, mRestart)) {
        if (MessageBoxDialog::Show("restlvl") == 1) {
            Hide();
            if (gOfficeScreen)
                gOfficeScreen->RestartLevel();
        }
    } else if (IsButton(id, mResume)) {
        Hide();
    } else if (IsButton(id, mSettings)) {
        if (app && app->mOptionsDialog)
            app->mOptionsDialog->Show();
    } else if (IsButton(id, mHelp)) {
        if (app && app->mHelpDialog)
            app->mHelpDialog->Show();
    } else if (IsButton(id, mQuit)) {
        if (MessageBoxDialog::Show("exitmenu") != 1)
            return;
        Hide();
        LeaveOffice();
        if (gOfficeScreen)
            gOfficeScreen->SetDayRunning(false);
        if (app && app->GetSfxManager())
            app->GetSfxManager()->StopGroup("game");
    }
}
