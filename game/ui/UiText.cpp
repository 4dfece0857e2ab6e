#include "game/ui/UiText.h"

UiText::UiText(UiElement* owner, void* context) : UiElement(owner), mContext(context) {}

UiText::~UiText() = default;

void UiText::Update() { UiElement::Update(); }

void UiText::Draw(Zelk::Graphics* g) {}

void UiText::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiText::SetText(const std::wstring& text) {}

void UiText::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor) {}

void UiText::SetFrame(int index, Zelk::Image* image, const Zelk::Rect& source) {}

void UiText::SetImage(Zelk::Image* image) {}
