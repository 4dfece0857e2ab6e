#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

class GameApp;

// The game's one confirmation dialog (layout "dialogbox_2button") and the
// full-screen blocker under it, both top-level widgets made hidden when
// loading completes. Filled in by the message box.
class MessageBoxDialog : public UiDialog {
public:
    MessageBoxDialog(GameApp* app, const XmlNode& root);
    ~MessageBoxDialog() override;
};

extern MessageBoxDialog* gMessageBox;
extern UiDialog* gModalBlocker;

// Makes the dialog and the blocker (0, 0, 800 x 600), hidden, in the
// application's widget manager.
void CreateMessageBoxes(GameApp* app, const XmlNode& root);
// Takes both out of the widget manager and deletes them.
void DestroyMessageBoxes();
