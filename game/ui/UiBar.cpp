#include "game/ui/UiBar.h"

#include "framework/graphics/Graphics.h"
#include "game/ui/UiAttributes.h"

#include <limits>

namespace {

// value / maximum as a 32-bit float; a maximum of 0 gives what the division
// gives in IEEE arithmetic (infinity, or NaN for 0 / 0, which fills nothing).
float Fraction(int value, int maximum)
{
    if (maximum != 0)
        return float(value) / float(maximum);
    if (value == 0)
        return std::numeric_limits<float>::quiet_NaN();
    return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
}

} // namespace

UiBar::UiBar(UiElement* owner) : UiElement(owner) {}

UiBar::~UiBar() = default;

void UiBar::SetMax(int maximum) { mMax = maximum; }

void UiBar::SetValue(int value) { mValue = value; }

void UiBar::SetImages(Zelk::Image* image)
{
    mFill.image = image;
    mEmpty.image = image;
}

void UiBar::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    int segWidth = 0;
    XmlGetAttrInt(node, L"seg_width", segWidth);
    // The segment width lives in both source rectangles, also without a texture.
    mFill.source.mWidth = mEmpty.source.mWidth = segWidth;
    UiTextureAttr carry;
    mFill.Load(node, L"fill", context, carry, segWidth, mHeight);
    mEmpty.Load(node, L"empty", context, carry, segWidth, mHeight);
}

void UiBar::Draw(Zelk::Graphics* g)
{
    UiBeginPictures(g, GetDrawAlpha());
    const int seg = mFill.source.mWidth;
    if (!mFill.image || !mEmpty.image || seg <= 0)
        return;
    const bool scaled = IsScaled();
    const float s = GetCompoundScale();
    const int n = (scaled ? mLayoutWidth : mWidth) / seg;
    const float filled = Fraction(mValue, mMax);
    for (int i = 0; i < n; ++i) {
        const UiPicture& picture = float(i) / float(n) < filled ? mFill : mEmpty;
        int x = i * seg, width = seg;
        if (scaled) {
            x = int(float(i) * float(seg) * s);
            width = int(float(i + 1) * float(seg) * s) - x;
        }
        g->DrawImageRegionScaled(picture.image, Zelk::Rect(x, 0, width, mHeight), picture.source);
    }
}
