#include "game/ui/UiEdit.h"

UiEdit::UiEdit(UiElement* owner) : UiElement(owner) {}

UiEdit::~UiEdit() = default;

void UiEdit::Update() { UiElement::Update(); }

void UiEdit::Draw(Zelk::Graphics* g) {}

void UiEdit::Resize(int x, int y, int width, int height) { UiElement::Resize(x, y, width, height); }

bool UiEdit::WantsFocus() { return true; }

void UiEdit::GotFocus() { Zelk::Widget::GotFocus(); }

void UiEdit::LostFocus() { Zelk::Widget::LostFocus(); }

void UiEdit::KeyChar(wchar_t c) {}

void UiEdit::KeyDown(int key) {}

void UiEdit::MouseEnter() {}

void UiEdit::MouseLeave() {}

void UiEdit::MouseButtonDown(int x, int y, int button, int clickCount) {}

void UiEdit::MouseButtonUp(int x, int y, int button, int clickCount) {}

void UiEdit::MouseDrag(int x, int y) {}

void UiEdit::ProcessKey(int key, char16_t c) {}

void UiEdit::SelectWordAtCaret() {}

void UiEdit::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiEdit::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source) {}

void UiEdit::SetAllTextures(Zelk::Image* image) {}

void UiEdit::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color highlightColor) {}

void UiEdit::SetText(const std::wstring& text, bool showStart) { mText = text; }

bool UiEdit::IsWordChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           (c >= 0x410 && c <= 0x44F) || c == u'_';
}

int UiEdit::CharIndexAtX(int x, int y) { return 0; }

void UiEdit::KeepCaretVisible(bool bigSteps) {}
