#include "game/ui/UiScroll.h"

#include "game/ui/UiButton.h"

#include <cstring>

UiScroll::UiScroll(UiElement* owner) : UiElement(owner) {}

UiScroll::~UiScroll() = default;

void UiScroll::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    XmlGetAttrInt(node, L"distx1", mStartX);
    XmlGetAttrInt(node, L"disty1", mStartY);
    XmlGetAttrInt(node, L"distx2", mEndX);
    XmlGetAttrInt(node, L"disty2", mEndY);
    static const struct {
        const char* name;
        intptr_t id;
        UiButton* UiScroll::*field;
    } kButtons[] = {{"up", 1, &UiScroll::mUp}, {"down", 2, &UiScroll::mDown}, {"slider", 3, &UiScroll::mThumb}};
    for (const auto& entry : kButtons) {
        std::wstring xpath = L"element[@name=\"" + std::wstring(entry.name, entry.name + std::strlen(entry.name)) + L"\"]";
        XmlNode element = node.SelectSingle(xpath);
        if (!element)
            continue;
        UiButton* button = new UiButton(this, entry.id, this);
        button->Load(element, context);
        this->*entry.field = button;
        AddChild(entry.name, button);
    }
}

void UiScroll::SetMax(int maximum)
{
    mMax = maximum;
    SetDisabled(maximum <= 0);
}

void UiScroll::SetValue(int value) { mValue = value; }

int UiScroll::GetValue() const { return mValue; }

void UiScroll::SetTrack(int startX, int startY, int endX, int endY)
{
    mStartX = startX;
    mStartY = startY;
    mEndX = endX;
    mEndY = endY;
}

void UiScroll::GetTrack(int& startX, int& startY, int& endX, int& endY) const
{
    startX = mStartX;
    startY = mStartY;
    endX = mEndX;
    endY = mEndY;
}

void UiScroll::SetDisabled(bool disabled)
{
    if (mUp)
        mUp->SetDisabled(disabled);
    if (mDown)
        mDown->SetDisabled(disabled);
    if (mThumb) {
        if (disabled)
            mThumb->Hide();
        else
            mThumb->Show();
    }
}

void UiScroll::OnButtonPress(intptr_t id)
{
    if (id == 1 && mValue > 0)
        --mValue;
    else if (id == 2 && mValue < mMax)
        ++mValue;
}

void UiScroll::Update()
{
    if (mValue < 0)
        mValue = 0;
    else if (mValue > mMax)
        mValue = mMax;
    if (mMax != 0 && mThumb) {
        const float f = float(mValue) / float(mMax);
        mThumb->Move(int(float(mStartX) + float(mEndX - mStartX) * f), int(float(mStartY) + float(mEndY - mStartY) * f));
    }
    UiElement::Update();
}

void UiScroll::Draw(Zelk::Graphics* g) {}
