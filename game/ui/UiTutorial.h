#pragma once
#include "game/ui/UiDialog.h"

// A dialog ("quortutorial") that can hide itself when a mouse button is
// released on it ("clickhide").
class UiTutorial : public UiDialog {
public:
    UiTutorial(UiElement* owner, void* context);
    ~UiTutorial() override;

    // The dialog, then "clickhide".
    void Load(const XmlNode& node, void* context) override;
    // Hides the dialog (through its effect when it has one) when click hide
    // is set.
    void MouseUpAt(int x, int y) override;

    bool IsClickHide() const { return mClickHide; }

protected:
    bool mClickHide = false;
};
