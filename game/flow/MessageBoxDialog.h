#pragma once
#include "game/core/XmlFunctions.h"
#include "game/ui/UiDialog.h"

#include <cstdint>
#include <string>

class GameApp;
class UiButton;

// The game's one confirmation dialog (layout "dialogbox_2button") and the
// full-screen blocker under it, both top-level widgets made hidden when
// loading completes. A question names a kind; the icon, the two lines and the
// two labels come from the resources of that kind ("db01_icon_<kind>",
// "db01_text1_<kind>", ...), and the caller waits in a loop of application
// steps until it is answered.
class MessageBoxDialog : public UiDialog {
public:
    // The loop ended without an answer (shutdown, or the dialog detached).
    static constexpr int32_t kUnanswered = 0x7FFFFFFF;

    MessageBoxDialog(GameApp* app, const XmlNode& root);
    ~MessageBoxDialog() override;

    using UiDialog::Show;
    void OnShow() override;
    void OnHide() override;
    void AddChild(const std::string& name, UiElement* child) override;
    // Yes answers 1, any other button of the dialog 0; the dialog hides.
    void OnButton(intptr_t id) override;

    // Asks the question of the kind on gMessageBox: 1 yes, 0 another button,
    // kUnanswered when the loop ended first (also without a message box).
    static int32_t Show(const std::string& kind);

    // Gives back the icon's picture.
    void ReleaseIcon();

    int32_t GetResult() const { return mResult; }
    const std::string& GetIconId() const { return mIconId; }

private:
    UiButton* mYesButton = nullptr;
    UiButton* mNoButton = nullptr;
    int32_t mResult = kUnanswered;
    std::string mIconId;
};

extern MessageBoxDialog* gMessageBox;
extern UiDialog* gModalBlocker;

// Makes the dialog and the blocker (0, 0, 800 x 600), hidden, in the
// application's widget manager.
void CreateMessageBoxes(GameApp* app, const XmlNode& root);
// Gives back the icon's picture, takes both out of the widget manager and
// deletes them.
void DestroyMessageBoxes();
