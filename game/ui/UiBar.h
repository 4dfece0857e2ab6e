#pragma once
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"

namespace Zelk {
class Image;
}

// A segmented gauge showing value of maximum ("quorbar", and the slider's
// "bar").
class UiBar : public UiElement {
public:
    explicit UiBar(UiElement* owner);
    ~UiBar() override;

    void Draw(Zelk::Graphics* g) override;

    virtual void SetMax(int maximum);
    virtual void SetValue(int value);
    virtual void Load(const XmlNode& node, void* context);
    // The same picture for the fill and the empty field.
    virtual void SetImages(Zelk::Image* image);

    int GetMax() const { return mMax; }
    int GetValue() const { return mValue; }

protected:
    int mMax = 0;
    int mValue = 0;
};
