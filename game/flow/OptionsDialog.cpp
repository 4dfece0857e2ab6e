#include "game/flow/OptionsDialog.h"

#include "game/core/GameApp.h"
#include "game/core/MusicManager.h"
#include "game/core/SfxManager.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiCheckBox.h"
#include "game/ui/UiSlider.h"

OptionsDialog::OptionsDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    mBackdrop = new UiDialog(nullptr, app);
    mBackdrop->Resize(0, 0, 800, 600);
    LoadByName(root, "options");
    for (UiSlider* slider : {mSoundSlider, mMusicSlider})
        if (slider)
            slider->SetMax(100);
}

OptionsDialog::~OptionsDialog()
{
    RemoveBackdrop(mBackdrop);
    delete mBackdrop;
}

GameApp* OptionsDialog::App() const { return static_cast<GameApp*>(mContext); }

void OptionsDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "mute_checkbox")
        mMuteBox = dynamic_cast<UiCheckBox*>(child);
    else if (name == "fullscreen_checkbox")
        mFullScreenBox = dynamic_cast<UiCheckBox*>(child);
    else if (name == "cancel")
        mCancel = dynamic_cast<UiButton*>(child);
    else if (name == "apply")
        mApply = dynamic_cast<UiButton*>(child);
    else if (name == "sndvol_slider")
        mSoundSlider = dynamic_cast<UiSlider*>(child);
    else if (name == "musvol_slider")
        mMusicSlider = dynamic_cast<UiSlider*>(child);
    UiElement::AddChild(name, child);
}

void OptionsDialog::OnShow()
{
    GameApp* app = App();
    RaiseOverBackdrop(this, mBackdrop);
    const PrefHeader& settings = app->mPrefHeader;
    if (mFullScreenBox)
        mFullScreenBox->SetChecked(!app->mWindowed);
    if (mMuteBox)
        mMuteBox->SetChecked(settings.mMuted != 0);
    if (mSoundSlider)
        mSoundSlider->SetValue(int(settings.mSfxVolume));
    if (mMusicSlider)
        mMusicSlider->SetValue(int(settings.mMusicVolume));
    AllowOfficeEscape(false);
}

void OptionsDialog::Update()
{
    UiDialog::Update();
    if (!mVisible)
        return;
    GameApp* app = App();
    PrefHeader& settings = app->mPrefHeader;
    SfxManager* sounds = app->GetSfxManager();
    MusicManager* music = app->GetMusicManager();
    if (mMuteBox && mMuteBox->IsChecked() != (settings.mMuted != 0)) {
        settings.mMuted = mMuteBox->IsChecked() ? 1 : 0;
        sounds->SetVolume(settings.mMuted ? 0 : int(settings.mSfxVolume));
        music->SetVolume(settings.mMuted ? 0 : int(settings.mMusicVolume));
    }
    if (mSoundSlider && mSoundSlider->GetValue() != int(settings.mSfxVolume)) {
        settings.mSfxVolume = uint32_t(mSoundSlider->GetValue());
        if (!settings.mMuted)
            sounds->SetVolume(int(settings.mSfxVolume));
    }
    if (mMusicSlider && mMusicSlider->GetValue() != int(settings.mMusicVolume)) {
        settings.mMusicVolume = uint32_t(mMusicSlider->GetValue());
        if (!settings.mMuted)
            music->SetVolume(int(settings.mMusicVolume));
    }
}

void OptionsDialog::OnButton(intptr_t id)
{
    if (IsButton(id, mApply)) {
        GameApp* app = App();
        PrefHeader& settings = app->mPrefHeader;
        if (mMusicSlider)
            settings.mMusicVolume = uint32_t(mMusicSlider->GetValue());
        if (mSoundSlider)
            settings.mSfxVolume = uint32_t(mSoundSlider->GetValue());
        if (mFullScreenBox)
            settings.mWindowed = mFullScreenBox->IsChecked() ? 0 : 1;
        if (mMuteBox)
            settings.mMuted = mMuteBox->IsChecked() ? 1 : 0;
        app->ApplySettings();
    }
    Hide();
}

void OptionsDialog::OnHide()
{
    RemoveBackdrop(mBackdrop);
    AllowOfficeEscape(true);
}
