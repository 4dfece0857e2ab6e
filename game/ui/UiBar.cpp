#include "game/ui/UiBar.h"

UiBar::UiBar(UiElement* owner) : UiElement(owner) {}

UiBar::~UiBar() = default;

void UiBar::Draw(Zelk::Graphics* g) {}

void UiBar::SetMax(int maximum) { mMax = maximum; }

void UiBar::SetValue(int value) { mValue = value; }

void UiBar::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiBar::SetImages(Zelk::Image* image) {}
