#pragma once
#include "game/ui/UiElement.h"
#include "game/ui/UiPicture.h"

namespace Zelk {
class Image;
}

// A segmented gauge showing value of maximum ("quorbar", and the slider's
// "bar"): width / seg_width segments from left to right, segment i filled
// when i / n < value / maximum (as 32-bit floats). Takes no input.
class UiBar : public UiElement {
public:
    explicit UiBar(UiElement* owner);
    ~UiBar() override;

    // Needs both pictures and a segment width above 0. Drawn scaled (S not 1)
    // the segments keep their layout count and are spread evenly: segment i
    // spans trunc(i x seg x S) to trunc((i + 1) x seg x S).
    void Draw(Zelk::Graphics* g) override;

    // Neither is clamped nor asks for a redraw (every update redraws).
    virtual void SetMax(int maximum);
    virtual void SetValue(int value);
    // "seg_width", texture[@id="fill"] and texture[@id="empty"].
    virtual void Load(const XmlNode& node, void* context);
    // The same picture for the fill and the empty field.
    virtual void SetImages(Zelk::Image* image);

    int GetMax() const { return mMax; }
    int GetValue() const { return mValue; }
    int GetSegWidth() const { return mFill.source.mWidth; }
    const UiPicture& GetFill() const { return mFill; }
    const UiPicture& GetEmpty() const { return mEmpty; }

protected:
    int mMax = 0;
    int mValue = 0;
    UiPicture mFill;
    UiPicture mEmpty;
};
