#include "game/flow/MessageBoxDialog.h"

#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/TextureRegistry.h"
#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"
#include "game/ui/UiText.h"

MessageBoxDialog* gMessageBox = nullptr;
UiDialog* gModalBlocker = nullptr;

namespace {

std::string KindId(const char* family, const std::string& kind) { return family + kind; }

} // namespace

MessageBoxDialog::MessageBoxDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app)
{
    LoadByName(root, "dialogbox_2button");
}

MessageBoxDialog::~MessageBoxDialog()
{
    ReleaseIcon();
    mChildren.clear();
    RemoveAllWidgets(true, true);
}

void MessageBoxDialog::AddChild(const std::string& name, UiElement* child)
{
    if (name == "btn_yes")
        mYesButton = dynamic_cast<UiButton*>(child);
    else if (name == "btn_no")
        mNoButton = dynamic_cast<UiButton*>(child);
    UiElement::AddChild(name, child);
}

void MessageBoxDialog::OnButton(intptr_t id)
{
    mResult = mYesButton && id == reinterpret_cast<intptr_t>(mYesButton) ? 1 : 0;
    Hide();
}

void MessageBoxDialog::OnShow() { AllowOfficeEscape(false); }

void MessageBoxDialog::OnHide() { AllowOfficeEscape(true); }

void MessageBoxDialog::ReleaseIcon()
{
    auto* app = static_cast<GameApp*>(mContext);
    TextureRegistry* textures = app ? app->GetTextureRegistry() : nullptr;
    if (textures && !mIconId.empty())
        textures->Release(mIconId);
    mIconId.clear();
}

int32_t MessageBoxDialog::Show(const std::string& kind)
{
    MessageBoxDialog* box = gMessageBox;
    GameApp* app = box ? static_cast<GameApp*>(box->mContext) : nullptr;
    if (!app)
        return kUnanswered;
    LocTable* texts = app->GetLocTable();

    if (auto* icon = dynamic_cast<UiText*>(box->FindChild("icon"))) {
        box->ReleaseIcon();
        box->mIconId = KindId("db01_icon_", kind);
        Zelk::Image* picture = app->GetTextureRegistry()->Get(box->mIconId);
        Zelk::Rect source;
        if (picture)
            source = Zelk::Rect(0, 0, picture->GetWidth(), picture->GetHeight());
        icon->SetFrame(0, picture, source);
    }
    if (auto* line = dynamic_cast<UiText*>(box->FindChild("text1")))
        line->SetText(texts->Get(KindId("db01_text1_", kind)));
    if (auto* line = dynamic_cast<UiText*>(box->FindChild("text2")))
        line->SetText(texts->Get(KindId("db01_text2_", kind)));
    if (box->mYesButton)
        box->mYesButton->SetLabel(texts->Get(KindId("db01_btnyes_", kind)));
    if (box->mNoButton)
        box->mNoButton->SetLabel(texts->Get(KindId("db01_btnno_", kind)));

    box->mResult = kUnanswered;
    Zelk::WidgetManager* manager = app->mWidgetManager;
    if (gModalBlocker) {
        manager->MoveToTop(gModalBlocker);
        gModalBlocker->SetVisible(true);
    }
    manager->MoveToTop(box);
    box->UiDialog::Show();

    while (app->AppStep(nullptr) && box->mWidgetManager && box->mResult == kUnanswered) {
    }

    if (gModalBlocker)
        gModalBlocker->SetVisible(false);
    return box->mResult;
}

void CreateMessageBoxes(GameApp* app, const XmlNode& root)
{
    gMessageBox = new MessageBoxDialog(app, root);
    gMessageBox->SetVisible(false);
    app->mWidgetManager->AddWidget(gMessageBox);
    gModalBlocker = new UiDialog(nullptr, app);
    gModalBlocker->Resize(0, 0, 800, 600);
    gModalBlocker->SetVisible(false);
    app->mWidgetManager->AddWidget(gModalBlocker);
}

void DestroyMessageBoxes()
{
    if (gMessageBox) {
        gMessageBox->ReleaseIcon();
        if (gMessageBox->mWidgetManager)
            gMessageBox->mWidgetManager->RemoveWidget(gMessageBox);
        delete gMessageBox;
        gMessageBox = nullptr;
    }
    if (gModalBlocker) {
        if (gModalBlocker->mWidgetManager)
            gModalBlocker->mWidgetManager->RemoveWidget(gModalBlocker);
        delete gModalBlocker;
        gModalBlocker = nullptr;
    }
}
