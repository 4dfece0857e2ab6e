#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"
#include "game/ui/UiPicture.h"
#include "game/ui/UiTextImage.h"
#include "game/ui/UiTextLayers.h"

#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A one-line edit field of at most 13 characters with a blinking caret, a
// selection, word moves, the clipboard and a one-step undo that Ctrl+Z
// toggles ("quoredit"). Owners read the text directly. The normal layer's
// font measures; without it the field takes no typed or pasted input.
class UiEdit : public UiElement {
public:
    static constexpr int kMaxLength = 13;
    static constexpr int kBlinkPeriod = 40;

    explicit UiEdit(UiElement* owner);
    ~UiEdit() override;

    // The element's update; while focused the caret blinks (41 updates a phase).
    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    void Resize(int x, int y, int width, int height) override;
    bool WantsFocus() override;
    void GotFocus() override;
    void LostFocus() override;
    // A typed character (Ctrl+C, V, X, Z arrive as 3, 22, 24, 26).
    void KeyChar(wchar_t c) override;
    // Every key code but the letters A to Y goes to ProcessKey, then to the
    // widget (Tab moves the focus).
    void KeyDown(int key) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // Places the caret; a double click selects the word.
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;
    // Extends the selection to the mouse.
    void MouseDrag(int x, int y) override;

    // One editing step for a virtual-key code (character 0) or a character
    // (key 0). Moves without Shift and edits drop the selection; Ctrl+C and
    // input that does nothing keep it, Ctrl+Z keeps what it restored.
    virtual void ProcessKey(int key, char16_t c);
    virtual void SelectWordAtCaret();
    // "hilite_color", the text layers ("color", "hcolor", "font") and the
    // textures "normal" and "disabled".
    virtual void Load(const XmlNode& node, void* context);
    // State 0 normal, 1 disabled; others ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetAllTextures(Zelk::Image* image);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color highlightColor);
    // Replaces the text (the length limit is not applied) and selects all of
    // it; showStart scrolls to its start, else to the caret.
    virtual void SetText(const std::wstring& text, bool showStart);
    // A-Z, a-z, 0-9, U+0410 to U+044F and "_".
    virtual bool IsWordChar(char16_t c);
    // The caret index for a position in the field (y is not looked at).
    virtual int CharIndexAtX(int x, int y);
    // Scrolls by 10 (bigSteps) or 1 characters until the caret is inside the
    // field; never past the last character.
    virtual void KeepCaretVisible(bool bigSteps);

    const std::wstring& GetText() const { return mText; }
    int GetCaret() const { return mCaret; }
    int GetAnchor() const { return mAnchor; }
    int GetFirstVisible() const { return mFirstVisible; }
    bool IsCaretShown() const { return mCaretShown; }
    int GetBlinkCounter() const { return mBlinkCounter; }
    const Zelk::Color& GetHighlightColor() const { return mHighlightColor; }
    // The fill of the selection and the caret bar ("hilite_color").
    void SetHighlightColor(const Zelk::Color& color) { mHighlightColor = color; }
    const UiPicture& GetPicture(int state) const { return mBackground.pictures[state]; }
    const UiTextLayers& GetTextLayers() const { return mLayers; }

    // The text as owners may replace it (the indices are kept inside it).
    std::wstring mText;

protected:
    bool HasSelection() const { return mAnchor != -1 && mAnchor != mCaret; }
    // Caret, anchor and first visible character brought inside the text.
    void ClampIndices();
    // The width of text[from, to) with the normal font (0 without one).
    int TextWidth(int from, int to) const;
    // Removes the selection: caret at its start, no anchor.
    void EraseSelection();
    // Inserts at the caret and moves the caret past the insertion.
    void Insert(const std::wstring& text);
    void PlaceSystemCaret();
    // Pass 0 the whole text, pass 1 the selection or the caret bar.
    void DrawPasses(Zelk::Graphics* g, int width, int height);

    UiTextLayers mLayers; // the hover colours are the highlight colours
    Zelk::Color mHighlightColor;
    UiBackground mBackground;
    UiTextImage mTextImage;
    bool mCaretShown = false;
    bool mWordSelectionPending = false;
    int mCaret = 0;
    int mAnchor = -1;
    int mBlinkCounter = 0;
    int mFirstVisible = 0;
    std::wstring mUndoText;
    int mUndoCaret = 0;
    int mUndoAnchor = 0;
    int mLastEditPos = 0;
};
