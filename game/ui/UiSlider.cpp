#include "game/ui/UiSlider.h"

#include "game/ui/UiBar.h"
#include "game/ui/UiText.h"

#include <cstdint>

UiSlider::UiSlider(UiElement* owner) : UiElement(owner) {}

UiSlider::~UiSlider() = default;

void UiSlider::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    XmlGetAttrInt(node, L"mz_x", mZoneX);
    XmlGetAttrInt(node, L"mz_y", mZoneY);
    XmlGetAttrInt(node, L"mz_width", mZoneWidth);
    XmlGetAttrInt(node, L"mz_height", mZoneHeight);
    XmlGetAttrInt(node, L"mz_dz1", mLowDeadZone);
    XmlGetAttrInt(node, L"mz_dz2", mHighDeadZone);
    if (XmlNode element = node.SelectSingle(L"element[@name=\"back\"]")) {
        UiText* back = new UiText(this, context);
        back->Load(element, context);
        AddChild("back", back);
    }
    if (XmlNode element = node.SelectSingle(L"element[@name=\"bar\"]")) {
        UiBar* bar = new UiBar(this);
        bar->Load(element, context);
        AddChild("bar", bar);
    }
    if (XmlNode element = node.SelectSingle(L"element[@name=\"thumb\"]")) {
        UiText* thumb = new UiText(this, context);
        thumb->Load(element, context);
        mThumbMargin = thumb->mX;
        AddChild("thumb", thumb);
    }
}

void UiSlider::AddChild(const std::string& name, UiElement* child)
{
    if (name == "back")
        mBack = dynamic_cast<UiText*>(child);
    else if (name == "bar")
        mBar = dynamic_cast<UiBar*>(child);
    else if (name == "thumb")
        mThumb = dynamic_cast<UiText*>(child);
    child->mMouseVisible = false;
    UiElement::AddChild(name, child);
}

void UiSlider::SetMax(int maximum)
{
    mMax = maximum;
    if (mBar)
        mBar->SetMax(maximum);
}

void UiSlider::SetValue(int value)
{
    mValue = value;
    if (mBar)
        mBar->SetValue(value);
}

int UiSlider::GetValue() { return mValue; }

void UiSlider::Update()
{
    if (mValue < 0)
        mValue = 0;
    else if (mValue > mMax)
        mValue = mMax;
    if (mMax != 0 && mThumb) {
        const float f = float(mValue) / float(mMax);
        const int64_t track = int64_t(mWidth) - 2 * int64_t(mThumbMargin);
        const int64_t thumbWidth = mThumb->mWidth;
        int64_t p = int64_t(float(track) * f) - thumbWidth / 2;
        if (p < 0)
            p = 0;
        else if (p > track - thumbWidth)
            p = track - thumbWidth;
        mThumb->Move(int(p + mThumbMargin), mThumb->GetLayoutY());
    }
    UiElement::Update();
}

void UiSlider::MouseButtonDown(int x, int y, int button, int clickCount)
{
    MarkDirty();
    // In 64 bits: the numbers come from the layout and may be anything.
    if (x < mZoneX || int64_t(x) > int64_t(mZoneX) + mZoneWidth || y < mZoneY ||
        int64_t(y) > int64_t(mZoneY) + mZoneHeight)
        return;
    if (int64_t(x) > int64_t(mWidth) - mHighDeadZone)
        SetValue(mMax);
    else if (x < mLowDeadZone)
        SetValue(0);
    else if (mZoneWidth == 0)
        SetValue(0); // the zone's only point
    else
        SetValue(int(float(x - mZoneX) / float(mZoneWidth) * float(mMax)));
}
