#include "game/ui/UiList.h"

UiList::UiList(UiElement* owner) : UiElement(owner) {}

UiList::~UiList() = default;

void UiList::Update() { UiElement::Update(); }

void UiList::Draw(Zelk::Graphics* g) {}

void UiList::Resize(int x, int y, int width, int height) { UiElement::Resize(x, y, width, height); }

void UiList::MouseButtonDown(int x, int y, int button, int clickCount) {}

void UiList::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiList::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor) {}

void UiList::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source) {}

void UiList::SetAllTextures(Zelk::Image* image) {}

void UiList::AddItem(const std::wstring& item) { mItems.push_back(item); }

void UiList::Clear() { mItems.clear(); }

void UiList::SetMarkedRow(int row) { mMarkedRow = row; }

int UiList::GetSelected() { return mSelected; }

void UiList::SetSelected(int row) { mSelected = row; }
