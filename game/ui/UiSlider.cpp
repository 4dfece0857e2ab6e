#include "game/ui/UiSlider.h"

UiSlider::UiSlider(UiElement* owner) : UiElement(owner) {}

UiSlider::~UiSlider() = default;

void UiSlider::Update() { UiElement::Update(); }

void UiSlider::MouseButtonDown(int x, int y, int button, int clickCount) {}

void UiSlider::AddChild(const std::string& name, UiElement* child)
{
    child->mMouseVisible = false;
    UiElement::AddChild(name, child);
}

void UiSlider::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiSlider::SetMax(int maximum) { mMax = maximum; }

void UiSlider::SetValue(int value) { mValue = value; }

int UiSlider::GetValue() { return mValue; }
