#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Zelk {

class Graphics;
class Image;

// Virtual-key codes the widgets look at.
enum : int {
    KEYCODE_TAB = 9,
    KEYCODE_SHIFT = 16,
    KEYCODE_CONTROL = 17,
};

// Cursor kinds the widgets ask the application for.
enum : int {
    CURSOR_POINTER = 0,
    CURSOR_HAND = 1,
    CURSOR_DRAGGING = 2,
};

struct Insets {
    int32_t mLeft = 0;
    int32_t mTop = 0;
    int32_t mRight = 0;
    int32_t mBottom = 0;
};

// The base of every visible thing: visibility, enabled state, focus and mouse
// state, a colour table, insets, tab neighbours, and empty input and drawing
// hooks for derived widgets to override.
class Widget : public WidgetContainer {
public:
    Widget();
    ~Widget() override;

    virtual void OrderChanged() {}
    virtual void SetVisible(bool visible);
    // count entries of red, green, blue, alpha.
    virtual void SetColorTable(const int (*colors)[4], int count);
    // count entries of red, green, blue; opaque.
    virtual void SetColorTableRGB(const int (*colors)[3], int count);
    virtual void SetColor(int index, const Color& color);
    virtual Color GetColorOr(int index, const Color& fallback);
    // Opaque black beyond the table.
    virtual const Color& GetColor(int index);
    virtual void SetDisabled(bool disabled);
    virtual void SetHandCursor(bool on);
    virtual void SetRect(const Rect& rect);
    virtual void Resize(int x, int y, int width, int height);
    virtual void Move(int x, int y);
    virtual bool WantsFocus();
    virtual void DrawOverlayAt(Graphics* g, int priority);
    virtual void DrawOverlay(Graphics* g) {}
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(wchar_t c) {}
    virtual void KeyDown(int key);
    virtual void KeyUp(int key) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseMove(int x, int y) {}
    // button 0 left, 1 right, 2 middle; clickCount 2 for a double click.
    virtual void MouseButtonDown(int x, int y, int button, int clickCount) {}
    // The manager's click code: 1 left, 2 left double, -1 right, -2 right
    // double, 3 middle.
    virtual void MouseDown(int x, int y, int clickCode);
    virtual void MouseButtonUp(int x, int y, int button, int clickCount) {}
    virtual void MouseUp(int x, int y, int clickCode);
    virtual void MouseUpAt(int x, int y) {}
    virtual void MouseDrag(int x, int y) {}
    virtual void MouseWheel(int delta) {}
    // x, y in the widget's own coordinates; narrows the hit area.
    virtual bool AcceptsPoint(int x, int y) { return true; }
    virtual Rect DrawCenteredTextShadowed(Graphics* g, int y, const std::wstring& text, Color color,
                                          Color shadowColor, Point offset);
    virtual Rect DrawCenteredText(Graphics* g, int y, const std::wstring& text);
    virtual int DrawColorCodedString(Graphics* g, const std::wstring& text, int x, int y, int boxWidth,
                                     int justification, bool draw = true);
    virtual int DrawWrappedText(Graphics* g, const Rect& box, const std::wstring& text, int lineSpacing,
                                int justification, int* widest = nullptr);
    virtual int GetWrappedTextHeight(Graphics* g, const std::wstring& text, int width, int lineSpacing);
    virtual int GetNumDigits(int number);
    // digitImage holds the digits 0 to 9 in ten cells side by side.
    virtual void DrawNumberStrip(Graphics* g, int number, int x, int y, Image* digitImage, int spacing);
    // Right and bottom edges excluded; x, y in the parent's coordinates.
    virtual bool Contains(int x, int y);
    virtual Rect GetInsetRect();

    // Click code to button (0 left, 1 right, 2 middle) and click count.
    static void DecodeClick(int clickCode, int& button, int& clickCount);

    bool mVisible = true;
    bool mMouseVisible = true; // false: never hit itself, though its children can be
    bool mDisabled = false;
    bool mHasFocus = false;
    bool mIsDown = false;
    bool mIsOver = false;
    bool mHasTransparencies = false;
    std::vector<Color> mColors;
    Insets mMouseInsets;
    bool mDoFinger = false; // the hand cursor is shown while the mouse is over it
    bool mWantsFocus = false;
    Widget* mTabPrev = nullptr;
    Widget* mTabNext = nullptr;
};

} // namespace Zelk
