#include "game/flow/UpgradeDialog.h"

#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiText.h"

UpgradeDialog::UpgradeDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    mBlocker = new UiDialog(nullptr, app);
    mBlocker->Resize(0, 0, 800, 600);
    LoadByName(root, "upgrade");
}

UpgradeDialog::~UpgradeDialog()
{
    OnReleaseResources();
    RemoveBackdrop(mBlocker);
    delete mBlocker;
}

GameApp* UpgradeDialog::App() const { return static_cast<GameApp*>(mContext); }

void UpgradeDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "upgrade") {
        mUpgrade = dynamic_cast<UiButton*>(child);
    } else if (name == "description_text") {
        mDescriptionText = child;
    } else if (name == "sel_upgrade_text") {
        mSelUpgradeText = child;
    } else {
        const int k = NumberAfter(name, "pic");
        if (k >= 1 && k <= kOptions) {
            mOptions[k - 1] = child;
            if (UiElement* pic = child->FindChild("pic"))
                mPics[k - 1] = dynamic_cast<UiButton*>(pic);
            if (UiElement* text = child->FindChild("text"))
                mTexts[k - 1] = dynamic_cast<UiText*>(text);
            if (UiElement* check = child->FindChild("check"))
                mChecks[k - 1] = check;
        }
    }
    UiElement::AddChild(name, child);
}

std::string UpgradeDialog::Choose(const std::string& name1, const std::string& name2, const std::string& name3)
{
    GameApp* app = App();
    if (!app)
        return std::string();
    TextureRegistry* textures = app->GetTextureRegistry();
    OnReleaseResources();
    const std::string* names[kOptions] = {&name1, &name2, &name3};
    for (int k = 0; k < kOptions; ++k) {
        const std::string id = "db08_" + *names[k];
        mImages[k].Hold(textures, id);
        Zelk::Image* image = mImages[k].Take(textures);
        if (!image)
            mImages[k].Hold(textures, std::string()); // the failed reference goes back too
        if (mPics[k])
            mPics[k]->SetTexture(0, image, image ? Zelk::Rect(0, 0, image->GetWidth(), image->GetHeight()) : Zelk::Rect(0, 0, 0, 0));
        if (mTexts[k])
            mTexts[k]->SetText(app->GetLocTable()->Get(id));
    }
    Show();
    while (mResult == -1 && mWidgetManager && app->AppStep(nullptr)) {
    }
    if (mResult < 0 || mResult >= kOptions) {
        // Unanswered: the offer and its blocker go.
        Hide();
        return std::string();
    }
    return *names[mResult];
}

void UpgradeDialog::OnShow()
{
    mResult = -1;
    mOpen = true;
    RaiseOverBackdrop(this, mBlocker);
    Mark(0);
    if (gOfficeScreen) {
        gOfficeScreen->SetEscapeAllowed(false);
        gOfficeScreen->SetDayRunning(false);
    }
}

void UpgradeDialog::OnHide()
{
    if (!mOpen)
        return;
    mOpen = false;
    RemoveBackdrop(mBlocker);
    if (gOfficeScreen) {
        gOfficeScreen->SetEscapeAllowed(true);
        gOfficeScreen->SetDayRunning(true);
    }
}

void UpgradeDialog::Mark(int k)
{
    for (int i = 0; i < kOptions; ++i) {
        if (i == k)
            ShowIfHidden(mChecks[i]);
        else
            HideIfShown(mChecks[i]);
    }
}

void UpgradeDialog::OnButton(intptr_t id)
{
    for (int k = 0; k < kOptions; ++k) {
        if (IsButton(id, mPics[k])) {
            if (!mImages[k].Id().empty())
                Mark(k);
            return;
        }
    }
    if (!IsButton(id, mUpgrade))
        return;
    mResult = -1;
    for (int k = 0; k < kOptions && mResult == -1; ++k)
        if (mChecks[k] && mChecks[k]->mVisible)
            mResult = k;
    // A mark always exists in a layout that has them; without marks the
    // last option is taken, as a press with no mark visible answers.
    if (mResult == -1)
        mResult = kOptions - 1;
    Hide();
}

void UpgradeDialog::OnReleaseResources()
{
    GameApp* app = App();
    TextureRegistry* textures = app ? app->GetTextureRegistry() : nullptr;
    for (HeldTexture& image : mImages)
        image.Hold(textures, std::string());
}
