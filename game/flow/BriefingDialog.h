#pragma once
// The day's briefing (layout "briefing"), shown before a career day runs:
// the boss's portrait in the profile's look, the day's text, and either the
// day's own picture or the month's calendar page with a mark on the day.
// "continue" hides it and lets the day run. Both pictures are held only
// while it is shown.
#include "game/flow/HeldTexture.h"
#include "game/ui/UiDialog.h"

#include <string>

class GameApp;
class UiText;

class BriefingDialog : public UiDialog {
public:
    // The calendar page's cells and the mark's place in a cell.
    static constexpr int kCellWidth = 25;
    static constexpr int kCellHeight = 38;
    static constexpr int kMarkX = -8;
    static constexpr int kMarkY = -2;

    BriefingDialog(GameApp* app, const XmlNode& root);
    ~BriefingDialog() override;

    void OnShow() override;
    void OnHide() override;
    void OnReleaseResources() override;
    void AddChild(const std::string& name, UiElement* child) override;
    void OnButton(intptr_t id) override;

    // The level's text, shown in "briefing_text".
    virtual void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return mText; }
    // What "continue" does: hidden, and the office day runs.
    void Continue();

    // The picture ids held (empty when none).
    const std::string& GetBossImageId() const { return mBossImage.Id(); }
    const std::string& GetCalendarImageId() const { return mCalendarImage.Id(); }

private:
    GameApp* App() const;

    std::wstring mText;
    HeldTexture mBossImage;
    HeldTexture mCalendarImage;
    UiElement* mContinue = nullptr;
    UiElement* mNewflash = nullptr;
    UiText* mBriefingText = nullptr;
    UiElement* mCalendarMark = nullptr;
    UiText* mContextHelp = nullptr;
};
