#pragma once
// The day's briefing (layout "briefing"), shown before a career day runs;
// "continue" hides it and lets the day run. Holds the briefing text.
#include "game/ui/UiDialog.h"

#include <string>

class GameApp;

class BriefingDialog : public UiDialog {
public:
    BriefingDialog(GameApp* app, const XmlNode& root);
    ~BriefingDialog() override;

    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    virtual void SetText(const std::wstring& text) { mText = text; }
    const std::wstring& GetText() const { return mText; }
    // What "continue" does: hidden, and the office day runs.
    void Continue();

private:
    std::wstring mText;
    UiElement* mContinue = nullptr;
};
