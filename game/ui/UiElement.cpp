#include "game/ui/UiElement.h"

UiElement::UiElement(UiElement* owner) : mOwner(owner)
{
    // Visible from the start, with its (still empty) resources taken.
    SetVisible(true);
}

UiElement::~UiElement() { RemoveAllWidgets(true, false); }

void UiElement::SetVisible(bool visible)
{
    Zelk::Widget::SetVisible(visible);
    if (visible)
        AcquireResources();
    else
        ReleaseResources();
}

void UiElement::Resize(int x, int y, int width, int height)
{
    mLayoutX = x;
    mLayoutY = y;
    mLayoutWidth = width;
    mLayoutHeight = height;
    Zelk::Widget::Resize(x, y, width, height);
}

void UiElement::AcquireResources()
{
    OnAcquireResources();
    mResourcesReleased = false;
}

void UiElement::ReleaseResources()
{
    OnReleaseResources();
    mResourcesReleased = true;
}

void UiElement::Show()
{
    SetVisible(true);
    OnShow();
}

void UiElement::Hide()
{
    OnHide();
    SetVisible(false);
}

void UiElement::AddChild(const std::string& name, UiElement* child)
{
    AddWidget(child);
    mChildren[name] = child;
}

UiElement* UiElement::FindChild(const std::string& name)
{
    auto it = mChildren.find(name);
    return it == mChildren.end() ? nullptr : it->second;
}
