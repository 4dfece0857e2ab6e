#pragma once
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"

namespace Zelk {
class Image;
}

// A check box with normal, over and down pictures for its checked and its
// unchecked look; a release over it flips the state ("quorcheckbox").
class UiCheckBox : public UiElement {
public:
    explicit UiCheckBox(UiElement* owner);
    ~UiCheckBox() override;

    void Draw(Zelk::Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;

    virtual void SetChecked(bool checked);
    virtual void Load(const XmlNode& node, void* context);
    // State 0 to 2 of the checked (true) or unchecked look; others ignored.
    virtual void SetTexture(int state, bool checkedLook, Zelk::Image* image, const Zelk::Rect& source);
    virtual bool IsChecked();

protected:
    bool mChecked = false;
};
