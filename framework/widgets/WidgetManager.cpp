#include "framework/widgets/WidgetManager.h"

#include "framework/widgets/Widget.h"

namespace Zelk {

WidgetManager::WidgetManager(ZelkAppBase* app) : mApp(app)
{
    mWidgetManager = this;
    mDefaultBelowModalFlagsMod.mRemoveFlags = WIDGET_FLAG_MOUSE | WIDGET_FLAG_FOCUS;
}

WidgetManager::~WidgetManager()
{
    mPreModalInfoList.clear();
    mDeferredOverlayWidgets.clear();
}

void WidgetManager::Resize(const Rect& screenRect, const Rect& mouseRect)
{
    mScreenRect = screenRect;
    mMouseDestRect = mouseRect;
    mWidth = screenRect.mWidth + 2 * screenRect.mX;
    mHeight = screenRect.mHeight + 2 * screenRect.mY;
}

void WidgetManager::RemapMouse(int& x, int& y)
{
    // No mapping exists before the display has told us its sizes.
    if (mMouseDestRect.mWidth == 0 || mMouseDestRect.mHeight == 0)
        return;
    x = int((int64_t(x) - mMouseDestRect.mX) * mScreenRect.mWidth / mMouseDestRect.mWidth + mScreenRect.mX);
    y = int((int64_t(y) - mMouseDestRect.mY) * mScreenRect.mHeight / mMouseDestRect.mHeight + mScreenRect.mY);
}

TreeFlags WidgetManager::ComputeFlags()
{
    TreeFlags flags;
    flags.mAboveFlags = mWidgetFlags;
    if (!mHasFocus)
        flags.mAboveFlags = mLostFocusFlagsMod.Apply(flags.mAboveFlags);
    flags.mBelowFlags = mBelowModalFlagsMod.Apply(flags.mAboveFlags);
    flags.mIsAbove = mBaseModalWidget == nullptr;
    return flags;
}

// ---- hit test, hover and focus ----

Widget* WidgetManager::GetWidgetAt(WidgetContainer* container, int x, int y, uint32_t flags, int* outX,
                                   int* outY)
{
    if (!container)
        container = this;
    flags = container->mWidgetFlagsMod.Apply(flags);
    // Walking down from the top, every child after the base modal widget lies
    // below it in this container and gets the below-modal masks.
    bool belowModal = false;
    for (auto it = container->mWidgets.rbegin(); it != container->mWidgets.rend(); ++it) {
        Widget* child = *it;
        uint32_t childFlags = child->mWidgetFlagsMod.Apply(flags);
        if (belowModal)
            childFlags = mBelowModalFlagsMod.Apply(childFlags);
        if ((childFlags & WIDGET_FLAG_MOUSE) && child->mVisible) {
            // The point in the child's own coordinates, saturated: a layout
            // may place a widget anywhere in the int range.
            int localX = ClampToInt(int64_t(x) - child->mX), localY = ClampToInt(int64_t(y) - child->mY);
            Widget* found = GetWidgetAt(child, localX, localY, childFlags, outX, outY);
            if (found)
                return found;
            if (child->mMouseVisible && child->GetInsetRect().Contains(x, y) && child->AcceptsPoint(localX, localY)) {
                if (outX)
                    *outX = localX;
                if (outY)
                    *outY = localY;
                return child;
            }
        }
        if (child == mBaseModalWidget)
            belowModal = true;
    }
    return nullptr;
}

Widget* WidgetManager::GetWidgetAtPoint(int x, int y, int* outX, int* outY)
{
    Widget* widget = GetWidgetAt(this, x, y, ComputeFlags().mAboveFlags, outX, outY);
    return widget && !widget->mDisabled ? widget : nullptr;
}

void WidgetManager::EnterWidget(Widget* widget)
{
    widget->mIsOver = true;
    widget->MouseEnter();
    if (widget->mDoFinger)
        widget->SetHandCursor(true);
}

void WidgetManager::LeaveWidget(Widget* widget)
{
    widget->mIsOver = false;
    widget->MouseLeave();
    if (widget->mDoFinger)
        widget->SetHandCursor(false);
}

void WidgetManager::MousePosition(int x, int y)
{
    const int lastX = mLastMouseX;
    const int lastY = mLastMouseY;
    mLastMouseX = x;
    mLastMouseY = y;

    int widgetX = 0, widgetY = 0;
    Widget* widget = GetWidgetAtPoint(x, y, &widgetX, &widgetY);
    if (widget == mOverWidget) {
        if (widget && (lastX != x || lastY != y))
            widget->MouseMove(widgetX, widgetY);
        return;
    }

    if (Widget* old = mOverWidget) {
        mOverWidget = nullptr;
        LeaveWidget(old);
        // A leave handler that changed the tree has evaluated the position
        // again already; its answer stands.
        if (mOverWidget)
            return;
    }
    if (widget && widget->mWidgetManager != this)
        widget = nullptr; // removed by the leave handler
    mOverWidget = widget;
    if (widget) {
        EnterWidget(widget);
        widget->MouseMove(widgetX, widgetY);
    }
}

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == mFocusWidget)
        return;
    Widget* old = mFocusWidget;
    mFocusWidget = nullptr;
    if (old)
        old->LostFocus();
    if (widget && widget->mWidgetManager == this) {
        mFocusWidget = widget;
        if (mHasFocus)
            widget->GotFocus();
    }
}

void WidgetManager::ForgetWidget(Widget* widget)
{
    if (widget == mOverWidget) {
        mOverWidget = nullptr;
        LeaveWidget(widget);
    }
    if (widget == mCapturedWidget) {
        const uint32_t buttons = mDownButtons;
        mCapturedWidget = nullptr;
        mDownButtons = 0;
        ReleaseButtons(widget, buttons);
    }
    if (widget == mFocusWidget) {
        mFocusWidget = nullptr;
        widget->LostFocus();
    }
    if (widget == mBaseModalWidget)
        mBaseModalWidget = nullptr;
}

void WidgetManager::RecheckMouse()
{
    if (mCapturedWidget) {
        if (mOverWidget && GetWidgetAtPoint(mLastMouseX, mLastMouseY) != mCapturedWidget) {
            Widget* old = mOverWidget;
            mOverWidget = nullptr;
            LeaveWidget(old);
        }
    } else if (mMouseIn) {
        MousePosition(mLastMouseX, mLastMouseY);
    }
}

// ---- modal layers ----

void WidgetManager::PushModalLayer(Widget* widget, const FlagsMod& belowFlagsMod)
{
    PreModalInfo info;
    info.mBaseModalWidget = widget;
    info.mPrevBaseModalWidget = mBaseModalWidget;
    info.mPrevFocusWidget = mFocusWidget;
    info.mPrevBelowModalFlagsMod = mBelowModalFlagsMod;
    mPreModalInfoList.push_back(info);
    SetModalLayer(widget, belowFlagsMod);
}

void WidgetManager::PushModalLayerDefault(Widget* widget)
{
    PushModalLayer(widget, mDefaultBelowModalFlagsMod);
}

void WidgetManager::SetModalLayer(Widget* widget, const FlagsMod& belowFlagsMod)
{
    mBaseModalWidget = widget;
    mBelowModalFlagsMod = belowFlagsMod;

    if (belowFlagsMod.mRemoveFlags & WIDGET_FLAG_MOUSE) {
        if (mOverWidget && IsBelow(mOverWidget, widget)) {
            Widget* old = mOverWidget;
            mOverWidget = nullptr;
            LeaveWidget(old);
        }
        if (mCapturedWidget && IsBelow(mCapturedWidget, widget)) {
            Widget* captured = mCapturedWidget;
            const uint32_t buttons = mDownButtons;
            mCapturedWidget = nullptr;
            mDownButtons = 0;
            ReleaseButtons(captured, buttons);
        }
    }
    if ((belowFlagsMod.mRemoveFlags & WIDGET_FLAG_FOCUS) && mFocusWidget && IsBelow(mFocusWidget, widget)) {
        Widget* old = mFocusWidget;
        mFocusWidget = nullptr;
        old->LostFocus();
    }
}

// Pops the newest layer when it belongs to widget. A layer pushed while
// another was in force restores that one; one whose earlier base modal widget
// has left the tree (null) pops the layer under it too.
void WidgetManager::PopModalLayer(Widget* widget)
{
    if (mPreModalInfoList.empty() || mPreModalInfoList.back().mBaseModalWidget != widget)
        return;
    while (!mPreModalInfoList.empty()) {
        const PreModalInfo info = mPreModalInfoList.back();
        mPreModalInfoList.pop_back();
        SetModalLayer(info.mPrevBaseModalWidget, info.mPrevBelowModalFlagsMod);
        if (!mFocusWidget && info.mPrevFocusWidget) {
            mFocusWidget = info.mPrevFocusWidget;
            mFocusWidget->GotFocus();
        }
        if (info.mPrevBaseModalWidget)
            break;
    }
}

// ---- per tick ----

bool WidgetManager::UpdateFrame()
{
    ++mUpdateCnt;
    mLastWMUpdateCount = mUpdateCnt; // the manager's own Update does not run
    TreeFlags flags = ComputeFlags();
    UpdateTree(flags);
    return mDirty;
}

bool WidgetManager::UpdateFrameFraction(float fraction)
{
    TreeFlags flags = ComputeFlags();
    UpdateFractionTree(flags, fraction);
    return mDirty;
}

} // namespace Zelk
