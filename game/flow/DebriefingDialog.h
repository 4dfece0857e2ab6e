#pragma once
// The end of a day (layout "debriefing"): its text, its result kind
// ("failure", "goal" or "expert") and whether "continue" is offered.
#include "game/ui/UiDialog.h"

#include <string>

class GameApp;

class DebriefingDialog : public UiDialog {
public:
    DebriefingDialog(GameApp* app, const XmlNode& root);
    ~DebriefingDialog() override;

    virtual void SetText(const std::wstring& text) { mText = text; }
    virtual void SetResultKind(const std::string& kind) { mResultKind = kind; }
    virtual void SetContinueDisabled(bool disabled) { mContinueDisabled = disabled; }

    const std::wstring& GetText() const { return mText; }
    const std::string& GetResultKind() const { return mResultKind; }
    bool IsContinueDisabled() const { return mContinueDisabled; }

private:
    std::wstring mText;
    std::string mResultKind;
    bool mContinueDisabled = false;
};
