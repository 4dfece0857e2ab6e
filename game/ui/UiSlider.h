#pragma once
#include "game/ui/UiElement.h"

class UiBar;
class UiText;

// An integer value 0..maximum set by presses in a mouse zone, shown by the
// children "back", "bar" and "thumb" ("quorslider").
class UiSlider : public UiElement {
public:
    explicit UiSlider(UiElement* owner);
    ~UiSlider() override;

    void Update() override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    // Keeps "back", "bar" and "thumb" and makes every child mouse-invisible.
    void AddChild(const std::string& name, UiElement* child) override;

    virtual void Load(const XmlNode& node, void* context);
    virtual void SetMax(int maximum);
    // Not clamped here; the bar gets the same number.
    virtual void SetValue(int value);
    virtual int GetValue();

    int GetMax() const { return mMax; }

protected:
    int mMax = 0;
    int mValue = 0;
};
