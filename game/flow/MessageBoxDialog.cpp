#include "game/flow/MessageBoxDialog.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"

MessageBoxDialog* gMessageBox = nullptr;
UiDialog* gModalBlocker = nullptr;

MessageBoxDialog::MessageBoxDialog(GameApp* app, const XmlNode& root) : UiDialog(nullptr, app) {}

MessageBoxDialog::~MessageBoxDialog() = default;

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
