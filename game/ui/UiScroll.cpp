#include "game/ui/UiScroll.h"

UiScroll::UiScroll(UiElement* owner) : UiElement(owner) {}

UiScroll::~UiScroll() = default;

void UiScroll::Update() { UiElement::Update(); }

void UiScroll::Draw(Zelk::Graphics* g) {}

void UiScroll::SetDisabled(bool disabled) {}

void UiScroll::OnButtonPress(intptr_t id) {}

void UiScroll::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiScroll::SetMax(int maximum)
{
    mMax = maximum;
    SetDisabled(maximum <= 0);
}

void UiScroll::SetValue(int value) { mValue = value; }

int UiScroll::GetValue() const { return mValue; }
