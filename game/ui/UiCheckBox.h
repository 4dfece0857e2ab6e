#pragma once
#include "game/ui/UiElement.h"
#include "game/ui/UiPicture.h"

// A two-state switch of pictures only ("quorcheckbox"): normal, over and
// disabled pictures for the checked and the unchecked look. A release over
// it with any mouse button flips the state; screens read it.
class UiCheckBox : public UiElement {
public:
    explicit UiCheckBox(UiElement* owner);
    ~UiCheckBox() override;

    void Draw(Zelk::Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;

    virtual void SetChecked(bool checked);
    // The six textures "normal", "over", "disabled", "check_normal",
    // "check_over", "check_disabled".
    virtual void Load(const XmlNode& node, void* context);
    // State 0 normal, 1 over, 2 disabled of the checked (true) or unchecked
    // look; others ignored.
    virtual void SetTexture(int state, bool checkedLook, Zelk::Image* image, const Zelk::Rect& source);
    virtual bool IsChecked();

    const UiPicture& GetPicture(int state, bool checkedLook) const { return mPictures[checkedLook][state]; }

protected:
    bool mChecked = false;
    UiPicture mPictures[2][3]; // [checked look][state]
};
