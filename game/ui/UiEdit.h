#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"

#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A one-line edit field with a caret, a selection, word moves, the clipboard
// and a one-step undo ("quoredit").
class UiEdit : public UiElement {
public:
    explicit UiEdit(UiElement* owner);
    ~UiEdit() override;

    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    void Resize(int x, int y, int width, int height) override;
    bool WantsFocus() override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyChar(wchar_t c) override;
    void KeyDown(int key) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;

    // One editing step for a virtual-key code or a character.
    virtual void ProcessKey(int key, char16_t c);
    virtual void SelectWordAtCaret();
    virtual void Load(const XmlNode& node, void* context);
    // State 0 normal, 1 disabled; others ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetAllTextures(Zelk::Image* image);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color highlightColor);
    // Replaces the text and selects all of it.
    virtual void SetText(const std::wstring& text, bool showStart);
    virtual bool IsWordChar(char16_t c);
    virtual int CharIndexAtX(int x, int y);
    virtual void KeepCaretVisible(bool bigSteps);

    const std::wstring& GetText() const { return mText; }

protected:
    std::wstring mText;
};
