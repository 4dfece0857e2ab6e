// Mouse, key and application-focus input of the widget manager.
#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <cstdint>

namespace Zelk {

namespace {

// A mouse coordinate in a widget's frame; widgets may lie anywhere in the int
// range, so the difference saturates.
int Relative(int at, int origin)
{
    return ClampToInt(int64_t(at) - origin);
}

} // namespace

uint32_t WidgetManager::ClickCodeBit(int clickCode)
{
    if (clickCode < 0)
        return MOUSE_BUTTON_RIGHT;
    if (clickCode == 3)
        return MOUSE_BUTTON_MIDDLE;
    return MOUSE_BUTTON_LEFT;
}

// Releases go to the widget at its position in its parent: widgets built on
// this manager expect exactly that.
void WidgetManager::ReleaseButtons(Widget* widget, uint32_t buttons)
{
    static const struct {
        uint32_t bit;
        int clickCode;
    } releases[] = {{MOUSE_BUTTON_LEFT, 1}, {MOUSE_BUTTON_RIGHT, -1}, {MOUSE_BUTTON_MIDDLE, 3}};
    for (const auto& release : releases) {
        if (!(buttons & release.bit))
            continue;
        widget->mIsDown = false;
        widget->MouseUp(Relative(mLastMouseX, widget->mX), Relative(mLastMouseY, widget->mY), release.clickCode);
    }
}

bool WidgetManager::MouseMove(int x, int y)
{
    if (mDownButtons == 0) {
        mMouseIn = true;
        MousePosition(x, y);
    } else {
        DragMouse(x, y);
    }
    return true;
}

// While a button is captured only the captured widget can be hovered, and
// only while the mouse is over it.
void WidgetManager::DragMouse(int x, int y)
{
    mMouseIn = true;
    mLastMouseX = x;
    mLastMouseY = y;

    if (mOverWidget && mOverWidget != mCapturedWidget) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        LeaveWidget(old);
    }

    Widget* captured = mCapturedWidget;
    if (!captured)
        return;
    const Point pos = captured->GetScreenPos();
    captured->MouseDrag(Relative(x, pos.mX), Relative(y, pos.mY));
    if (mCapturedWidget != captured)
        return; // the drag handler ended the capture

    Widget* widget = GetWidgetAtPoint(x, y);
    if (widget == captured) {
        if (!mOverWidget) {
            mOverWidget = captured;
            EnterWidget(captured);
        }
    } else if (mOverWidget) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        LeaveWidget(old);
    }
}

bool WidgetManager::MouseDown(int x, int y, int clickCode)
{
    const uint32_t bit = ClickCodeBit(clickCode);
    mActualDownButtons |= bit;
    MousePosition(x, y);

    if (mPopupCommandWidget && !mPopupCommandWidget->Contains(x, y)) {
        Widget* popup = mPopupCommandWidget;
        mPopupCommandWidget = nullptr;
        RemoveWidget(popup);
    }

    int widgetX = 0, widgetY = 0;
    Widget* hit = GetWidgetAtPoint(x, y, &widgetX, &widgetY);
    Widget* target = mCapturedWidget ? mCapturedWidget : hit;
    if (mCapturedWidget) {
        // A further button on the captured widget: the press in its own
        // frame, not in the frame of whatever lies under the mouse.
        const Point pos = target->GetScreenPos();
        widgetX = Relative(x, pos.mX);
        widgetY = Relative(y, pos.mY);
    }
    mDownButtons |= bit;
    mCapturedWidget = target;
    if (!target)
        return true;

    if (target->WantsFocus())
        SetFocus(target);
    target->mIsDown = true;
    target->MouseDown(widgetX, widgetY, clickCode);
    return true;
}

bool WidgetManager::MouseUp(int x, int y, int clickCode)
{
    const uint32_t bit = ClickCodeBit(clickCode);
    mActualDownButtons &= ~bit;
    if (mCapturedWidget && (mDownButtons & bit)) {
        mDownButtons &= ~bit;
        Widget* widget = mCapturedWidget;
        if (mDownButtons == 0)
            mCapturedWidget = nullptr;
        widget->mIsDown = false;
        widget->MouseUp(Relative(x, widget->mX), Relative(y, widget->mY), clickCode);
    } else {
        mDownButtons &= ~bit;
    }
    MousePosition(x, y);
    return true;
}

bool WidgetManager::MouseWheel(int delta)
{
    if (mFocusWidget)
        mFocusWidget->MouseWheel(delta);
    return true;
}

bool WidgetManager::MouseExit()
{
    mMouseIn = false;
    if (Widget* old = mOverWidget) {
        mOverWidget = nullptr;
        LeaveWidget(old);
    }
    return true;
}

void WidgetManager::ReleaseCapture()
{
    Widget* captured = mCapturedWidget;
    const uint32_t buttons = mDownButtons;
    mDownButtons = 0;
    mCapturedWidget = nullptr;
    if (captured && buttons)
        ReleaseButtons(captured, buttons);
}

bool WidgetManager::KeyDown(int key)
{
    if (key >= 0 && key < 255)
        mKeyDown[key] = true;
    if (mFocusWidget)
        mFocusWidget->KeyDown(key);
    return true;
}

bool WidgetManager::KeyUp(int key)
{
    if (key >= 0 && key < 255)
        mKeyDown[key] = false;
    // Ctrl+Tab belongs to the default tab widget (see KeyChar).
    if (key == KEYCODE_TAB && IsKeyDown(KEYCODE_CONTROL))
        return true;
    if (mFocusWidget)
        mFocusWidget->KeyUp(key);
    return true;
}

bool WidgetManager::KeyChar(wchar_t c)
{
    if (c == KEYCODE_TAB && IsKeyDown(KEYCODE_CONTROL)) {
        if (mDefaultTab)
            mDefaultTab->KeyChar(c);
        return true;
    }
    if (mFocusWidget)
        mFocusWidget->KeyChar(c);
    return true;
}

void WidgetManager::AppGotFocus()
{
    if (mHasFocus)
        return;
    mHasFocus = true;
    if (mFocusWidget)
        mFocusWidget->GotFocus();
}

// Every key still held is released to the focus widget, Tab excepted while
// Ctrl is down (Ctrl comes after Tab in the table).
void WidgetManager::AppLostFocus()
{
    if (!mHasFocus)
        return;
    mActualDownButtons = 0;
    for (int key = 0; key < 255; ++key) {
        if (!mKeyDown[key])
            continue;
        mKeyDown[key] = false;
        if (key == KEYCODE_TAB && IsKeyDown(KEYCODE_CONTROL))
            continue;
        if (mFocusWidget)
            mFocusWidget->KeyUp(key);
    }
    mHasFocus = false;
    if (mFocusWidget)
        mFocusWidget->LostFocus();
}

} // namespace Zelk
