#include "framework/widgets/Widget.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/WidgetManager.h"

namespace Zelk {

Widget::Widget() = default;
Widget::~Widget() = default;

void Widget::SetVisible(bool visible)
{
    if (mVisible == visible)
        return;
    mVisible = visible;
    if (visible)
        MarkDirty();
    else
        MarkDirtyOverlapping();
    if (mWidgetManager)
        mWidgetManager->RecheckMouse();
}

void Widget::SetColorTable(const int (*colors)[4], int count)
{
    mColors.clear();
    for (int i = 0; i < count; ++i)
        SetColor(i, Color(colors[i][0], colors[i][1], colors[i][2], colors[i][3]));
    MarkDirty();
}

void Widget::SetColorTableRGB(const int (*colors)[3], int count)
{
    mColors.clear();
    for (int i = 0; i < count; ++i)
        SetColor(i, Color(colors[i][0], colors[i][1], colors[i][2], 255));
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    if (size_t(index) >= mColors.size())
        mColors.resize(size_t(index) + 1, Color(0, 0, 0, 255));
    mColors[size_t(index)] = color;
    MarkDirty();
}

Color Widget::GetColorOr(int index, const Color& fallback)
{
    if (index >= 0 && size_t(index) < mColors.size())
        return mColors[size_t(index)];
    return fallback;
}

const Color& Widget::GetColor(int index)
{
    static const Color black(0, 0, 0, 255);
    if (index >= 0 && size_t(index) < mColors.size())
        return mColors[size_t(index)];
    return black;
}

void Widget::SetDisabled(bool disabled)
{
    if (mDisabled == disabled)
        return;
    mDisabled = disabled;
    if (disabled && mWidgetManager)
        mWidgetManager->ForgetWidget(this);
    MarkDirty();
    if (!disabled && mWidgetManager && Contains(mWidgetManager->mLastMouseX, mWidgetManager->mLastMouseY))
        mWidgetManager->MousePosition(mWidgetManager->mLastMouseX, mWidgetManager->mLastMouseY);
}

void Widget::SetHandCursor(bool on)
{
    if (mWidgetManager && mWidgetManager->mApp)
        mWidgetManager->mApp->SetCursor(on ? CURSOR_HAND : CURSOR_POINTER);
}

void Widget::SetRect(const Rect& rect)
{
    Resize(rect.mX, rect.mY, rect.mWidth, rect.mHeight);
}

void Widget::Resize(int x, int y, int width, int height)
{
    if (mX == x && mY == y && mWidth == width && mHeight == height)
        return;
    MarkDirtyOverlapping(); // the area it leaves
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
    MarkDirty();
    if (mWidgetManager)
        mWidgetManager->RecheckMouse();
}

void Widget::Move(int x, int y)
{
    Resize(x, y, mWidth, mHeight);
}

bool Widget::WantsFocus()
{
    return mWantsFocus;
}

void Widget::DrawOverlayAt(Graphics* g, int priority)
{
    DrawOverlay(g);
}

void Widget::GotFocus()
{
    mHasFocus = true;
}

void Widget::LostFocus()
{
    mHasFocus = false;
}

void Widget::KeyDown(int key)
{
    if (key != KEYCODE_TAB || !mWidgetManager)
        return;
    Widget* next = mWidgetManager->IsKeyDown(KEYCODE_SHIFT) ? mTabPrev : mTabNext;
    if (next)
        mWidgetManager->SetFocus(next);
}

void Widget::DecodeClick(int clickCode, int& button, int& clickCount)
{
    if (clickCode == 3) {
        button = 2;
        clickCount = 1;
    } else if (clickCode < 0) {
        button = 1;
        clickCount = -clickCode;
    } else {
        button = 0;
        clickCount = clickCode;
    }
}

void Widget::MouseDown(int x, int y, int clickCode)
{
    int button, clickCount;
    DecodeClick(clickCode, button, clickCount);
    MouseButtonDown(x, y, button, clickCount);
}

void Widget::MouseUp(int x, int y, int clickCode)
{
    MouseUpAt(x, y);
    int button, clickCount;
    DecodeClick(clickCode, button, clickCount);
    MouseButtonUp(x, y, button, clickCount);
}

int Widget::GetNumDigits(int number)
{
    int digits = 1;
    for (int64_t bound = 10; number >= bound; bound *= 10)
        ++digits;
    return digits;
}

bool Widget::Contains(int x, int y)
{
    return x >= mX && int64_t(x) < int64_t(mX) + mWidth && y >= mY && int64_t(y) < int64_t(mY) + mHeight;
}

Rect Widget::GetInsetRect()
{
    const Insets& in = mMouseInsets;
    return Rect(ClampToInt(int64_t(mX) + in.mLeft), ClampToInt(int64_t(mY) + in.mTop),
                ClampToInt(int64_t(mWidth) - in.mLeft - in.mRight), ClampToInt(int64_t(mHeight) - in.mTop - in.mBottom));
}

} // namespace Zelk
