#include "game/ui/UiCheckBox.h"

UiCheckBox::UiCheckBox(UiElement* owner) : UiElement(owner) {}

UiCheckBox::~UiCheckBox() = default;

void UiCheckBox::Draw(Zelk::Graphics* g) {}

void UiCheckBox::MouseEnter() { MarkDirty(); }

void UiCheckBox::MouseLeave() { MarkDirty(); }

void UiCheckBox::MouseButtonUp(int x, int y, int button, int clickCount) {}

void UiCheckBox::SetChecked(bool checked)
{
    mChecked = checked;
    MarkDirty();
}

void UiCheckBox::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiCheckBox::SetTexture(int state, bool checkedLook, Zelk::Image* image, const Zelk::Rect& source) {}

bool UiCheckBox::IsChecked() { return mChecked; }
