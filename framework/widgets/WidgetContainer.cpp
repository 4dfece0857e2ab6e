#include "framework/widgets/WidgetContainer.h"

#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <vector>

namespace Zelk {

WidgetContainer::WidgetContainer() : mUpdateIterator(mWidgets.end()) {}

WidgetContainer::~WidgetContainer()
{
    mWidgets.clear();
}

Rect WidgetContainer::GetRect()
{
    return Rect(mX, mY, mWidth, mHeight);
}

bool WidgetContainer::Intersects(WidgetContainer* other)
{
    return int64_t(other->mX) + other->mWidth > mX && int64_t(other->mY) + other->mHeight > mY &&
           other->mX < int64_t(mX) + mWidth && other->mY < int64_t(mY) + mHeight;
}

WidgetContainer::WidgetList::iterator WidgetContainer::FindWidget(Widget* widget)
{
    return std::find(mWidgets.begin(), mWidgets.end(), widget);
}

bool WidgetContainer::HasWidget(Widget* widget)
{
    return FindWidget(widget) != mWidgets.end();
}

// Insertion by z order from a starting position: step forward to the first
// child whose z order is at least the widget's; stop there when it is the
// first child or of the same band, else step back from it (or from the end)
// to the last child whose z order is not above the widget's and insert after
// it. A widget therefore never leaves its band, and lands at the edge of its
// band nearest to where the search began.
void WidgetContainer::InsertWidgetHelper(WidgetList::iterator pos, Widget* widget)
{
    const int32_t z = widget->mZOrder;
    while (pos != mWidgets.end() && (*pos)->mZOrder < z)
        ++pos;
    if (pos != mWidgets.end() && (pos == mWidgets.begin() || (*pos)->mZOrder == z)) {
        mWidgets.insert(pos, widget);
        return;
    }
    while (pos != mWidgets.begin()) {
        WidgetList::iterator prev = std::prev(pos);
        if ((*prev)->mZOrder <= z)
            break;
        pos = prev;
    }
    mWidgets.insert(pos, widget);
}

void WidgetContainer::UnlinkWidget(WidgetList::iterator it)
{
    if (it == mUpdateIterator) {
        ++mUpdateIterator;
        mUpdateIteratorModified = true;
    }
    mWidgets.erase(it);
}

void WidgetContainer::AddWidget(Widget* widget)
{
    if (HasWidget(widget))
        return;
    InsertWidgetHelper(mWidgets.end(), widget);
    widget->mWidgetManager = mWidgetManager;
    widget->mParent = this;
    if (mWidgetManager) {
        widget->Attached(mWidgetManager);
        widget->MarkDirtyOverlapping();
        mWidgetManager->RecheckMouse();
    }
    MarkDirty();
}

namespace {

// A widget leaves the manager's tree: its subtree first, then the manager
// forgets it (hover, capture, focus, base modal), modal layers stop
// remembering it, it is detached, and the area it covered is redrawn.
void DisconnectFromManager(Widget* widget)
{
    WidgetManager* manager = widget->mWidgetManager;
    std::vector<Widget*> children(widget->mWidgets.begin(), widget->mWidgets.end());
    for (Widget* child : children)
        if (child->mWidgetManager)
            DisconnectFromManager(child);
    manager->ForgetWidget(widget);
    for (WidgetManager::PreModalInfo& info : manager->mPreModalInfoList) {
        if (info.mPrevBaseModalWidget == widget)
            info.mPrevBaseModalWidget = nullptr;
        if (info.mPrevFocusWidget == widget)
            info.mPrevFocusWidget = nullptr;
    }
    widget->Detached(manager);
    widget->MarkDirtyOverlapping();
    widget->mDirty = true;
    widget->mWidgetManager = nullptr;
}

} // namespace

void WidgetContainer::RemoveWidget(Widget* widget)
{
    if (!HasWidget(widget))
        return;
    if (widget->mWidgetManager)
        DisconnectFromManager(widget);
    widget->mParent = nullptr;
    // The callbacks above may have changed the list: look the widget up again.
    WidgetList::iterator it = FindWidget(widget);
    if (it != mWidgets.end())
        UnlinkWidget(it);
}

void WidgetContainer::RemoveAllWidgets(bool deleteThem, bool recursive)
{
    while (!mWidgets.empty()) {
        Widget* child = mWidgets.front();
        RemoveWidget(child);
        if (recursive)
            child->RemoveAllWidgets(deleteThem, recursive);
        if (deleteThem)
            delete child;
    }
}

bool WidgetContainer::IsBelowHelper(WidgetContainer* container, Widget* a, Widget* b, bool& found)
{
    for (Widget* child : container->mWidgets) {
        if (child == a) {
            found = true;
            return true;
        }
        if (child == b) {
            found = true;
            return false;
        }
        bool below = IsBelowHelper(child, a, b, found);
        if (found)
            return below;
    }
    return false;
}

bool WidgetContainer::IsBelow(Widget* a, Widget* b)
{
    bool found = false;
    return IsBelowHelper(this, a, b, found);
}

void WidgetContainer::MarkAllDirty()
{
    MarkDirty();
    for (Widget* child : mWidgets) {
        child->mDirty = true;
        child->MarkAllDirty();
    }
}

// Takes the widget out and inserts it again by z order, searching from the
// end, the start, ref's place or the place after ref (the end when ref is not
// a child).
void WidgetContainer::Restack(Widget* widget, Place place, Widget* ref)
{
    WidgetList::iterator it = FindWidget(widget);
    if (it == mWidgets.end())
        return;
    UnlinkWidget(it);
    WidgetList::iterator from = mWidgets.end();
    if (place == Place::Bottom) {
        from = mWidgets.begin();
    } else if (place != Place::Top) {
        from = FindWidget(ref);
        if (place == Place::Above && from != mWidgets.end())
            ++from;
    }
    InsertWidgetHelper(from, widget);
    widget->OrderChanged();
}

void WidgetContainer::MoveToTop(Widget* widget)
{
    Restack(widget, Place::Top, nullptr);
}

void WidgetContainer::MoveToBottom(Widget* widget)
{
    Restack(widget, Place::Bottom, nullptr);
}

void WidgetContainer::MoveBelow(Widget* widget, Widget* ref)
{
    Restack(widget, Place::Below, ref);
}

void WidgetContainer::MoveAbove(Widget* widget, Widget* ref)
{
    Restack(widget, Place::Above, ref);
}

Point WidgetContainer::GetScreenPos()
{
    Point p;
    p.mX = mX;
    p.mY = mY;
    if (mParent) {
        Point parent = mParent->GetScreenPos();
        p.mX = ClampToInt(int64_t(p.mX) + parent.mX);
        p.mY = ClampToInt(int64_t(p.mY) + parent.mY);
    }
    return p;
}

void WidgetContainer::MarkDirty()
{
    // Only widgets are children, so a node with a parent is a widget.
    if (mParent)
        mParent->OnChildDirty(static_cast<Widget*>(this));
    else
        mDirty = true;
}

void WidgetContainer::MarkDirtyOverlapping()
{
    if (mParent)
        mParent->OnChildDirtyOverlapping(static_cast<Widget*>(this));
    else
        mDirty = true;
}

// Only the top level (a container without parent: the manager) spreads the
// marking to siblings, because only top-level widgets are drawn separately.
void WidgetContainer::OnChildDirty(Widget* child)
{
    if (child->mDirty)
        return;
    MarkDirty();
    child->mDirty = true;
    if (mParent)
        return;
    if (child->mHasAlpha) {
        OnChildDirtyOverlapping(child);
        return;
    }
    // An opaque widget drawn again covers what lies above it: redraw those.
    WidgetList::iterator it = FindWidget(child);
    if (it == mWidgets.end())
        return;
    for (++it; it != mWidgets.end(); ++it) {
        Widget* sibling = *it;
        if (sibling->mVisible && sibling->Intersects(child))
            OnChildDirty(sibling);
    }
}

void WidgetContainer::OnChildDirtyOverlapping(Widget* child)
{
    MarkDirtyOverlapping();
    child->mDirty = true;
    if (mParent)
        return;
    WidgetList::iterator it = FindWidget(child);
    if (it == mWidgets.end())
        return;

    // The child's rectangle clipped to this container's area; an opaque
    // sibling holding both its corners hides everything further below.
    const int32_t left = std::max(child->mX, 0);
    const int32_t top = std::max(child->mY, 0);
    const int32_t right = ClampToInt(std::min<int64_t>(int64_t(child->mX) + child->mWidth, mWidth) - 1);
    const int32_t bottom = ClampToInt(std::min<int64_t>(int64_t(child->mY) + child->mHeight, mHeight) - 1);
    for (WidgetList::iterator below = it; below != mWidgets.begin();) {
        --below;
        Widget* sibling = *below;
        if (!sibling->mVisible)
            continue;
        if (!sibling->mHasAlpha && !sibling->mHasTransparencies && sibling->Contains(left, top) &&
            sibling->Contains(right, bottom)) {
            sibling->MarkDirty();
            break;
        }
        if (sibling->Intersects(child))
            OnChildDirty(sibling);
    }
    for (WidgetList::iterator above = std::next(it); above != mWidgets.end(); ++above) {
        Widget* sibling = *above;
        if (sibling->mVisible && sibling->Intersects(child))
            OnChildDirty(sibling);
    }
}

void WidgetContainer::Attached(WidgetManager* manager)
{
    for (Widget* child : mWidgets) {
        child->mWidgetManager = manager;
        child->Attached(manager);
        MarkDirty();
    }
}

void WidgetContainer::Detached(WidgetManager* manager)
{
    for (Widget* child : mWidgets) {
        manager->ForgetWidget(child);
        child->Detached(manager);
        child->mWidgetManager = nullptr;
    }
    if (manager->mPopupCommandWidget == this)
        manager->mPopupCommandWidget = nullptr;
}

void WidgetContainer::Update()
{
    ++mUpdateCnt;
}

// Each node is updated before its children, children from the bottom, and
// Update runs at most once per manager update even when re-stacking makes the
// walk visit a node twice. The walk position survives removal and re-stacking
// of the child it stands on (see UnlinkWidget).
void WidgetContainer::UpdateTree(TreeFlags& flags)
{
    const uint32_t savedAbove = flags.mAboveFlags;
    const uint32_t savedBelow = flags.mBelowFlags;
    flags.mAboveFlags = mWidgetFlagsMod.Apply(flags.mAboveFlags);
    flags.mBelowFlags = mWidgetFlagsMod.Apply(flags.mBelowFlags);

    if (flags.GetFlags() & WIDGET_FLAG_MARK_DIRTY)
        MarkDirty();

    WidgetManager* manager = mWidgetManager;
    if (!manager) {
        flags.mAboveFlags = savedAbove;
        flags.mBelowFlags = savedBelow;
        return;
    }

    if ((flags.GetFlags() & WIDGET_FLAG_UPDATE) && mLastWMUpdateCount != manager->mUpdateCnt) {
        mLastWMUpdateCount = manager->mUpdateCnt;
        Update();
    }

    mUpdateIterator = mWidgets.begin();
    while (mUpdateIterator != mWidgets.end()) {
        mUpdateIteratorModified = false;
        Widget* child = *mUpdateIterator;
        if (child == manager->mBaseModalWidget)
            flags.mIsAbove = true;
        child->UpdateTree(flags);
        if (!mUpdateIteratorModified)
            ++mUpdateIterator;
    }
    // A walk of this node nested in one already running leaves the outer
    // walk at the end, where it must not advance.
    mUpdateIteratorModified = true;

    flags.mAboveFlags = savedAbove;
    flags.mBelowFlags = savedBelow;
}

void WidgetContainer::UpdateFractionTree(TreeFlags& flags, float fraction)
{
    const uint32_t savedAbove = flags.mAboveFlags;
    const uint32_t savedBelow = flags.mBelowFlags;
    flags.mAboveFlags = mWidgetFlagsMod.Apply(flags.mAboveFlags);
    flags.mBelowFlags = mWidgetFlagsMod.Apply(flags.mBelowFlags);

    if (flags.GetFlags() & WIDGET_FLAG_UPDATE)
        UpdateFraction(fraction);

    Widget* baseModal = mWidgetManager ? mWidgetManager->mBaseModalWidget : nullptr;
    mUpdateIterator = mWidgets.begin();
    while (mUpdateIterator != mWidgets.end()) {
        mUpdateIteratorModified = false;
        Widget* child = *mUpdateIterator;
        if (child == baseModal)
            flags.mIsAbove = true;
        child->UpdateFractionTree(flags, fraction);
        if (!mUpdateIteratorModified)
            ++mUpdateIterator;
    }
    mUpdateIteratorModified = true;

    flags.mAboveFlags = savedAbove;
    flags.mBelowFlags = savedBelow;
}

void WidgetContainer::RefreshTree()
{
    Refresh();
    for (Widget* child : mWidgets)
        child->RefreshTree();
}

} // namespace Zelk
