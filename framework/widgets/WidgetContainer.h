#pragma once
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/TreeFlags.h"

#include <cstdint>
#include <list>

namespace Zelk {

class Graphics;
class Widget;
class WidgetManager;

// A node of the widget tree that holds children in stacking order (bottom
// first), marks areas dirty through its parent and walks its subtree for
// updates and drawing. It does not own its children: whoever creates a widget
// removes it from its container before deleting it.
class WidgetContainer {
public:
    typedef std::list<Widget*> WidgetList;

    WidgetContainer();
    // Empties the list; the children are not deleted.
    virtual ~WidgetContainer();

    virtual Rect GetRect();
    // Positive-area overlap; rectangles that only touch do not intersect.
    virtual bool Intersects(WidgetContainer* other);
    virtual void AddWidget(Widget* widget);
    virtual void RemoveWidget(Widget* widget);
    virtual bool HasWidget(Widget* widget);
    virtual void ForgetWidget(Widget* widget) {}
    virtual void RemoveAllWidgets(bool deleteThem = false, bool recursive = false);
    virtual void SetFocus(Widget* widget) {}
    // Whether a comes before b in a depth-first walk of this subtree.
    virtual bool IsBelow(Widget* a, Widget* b);
    virtual void MarkAllDirty();
    virtual void MoveToTop(Widget* widget);
    virtual void MoveToBottom(Widget* widget);
    virtual void MoveBelow(Widget* widget, Widget* ref);
    virtual void MoveAbove(Widget* widget, Widget* ref);
    virtual Point GetScreenPos();
    virtual void OnChildDirty(Widget* child);
    virtual void MarkDirty();
    virtual void OnChildDirtyOverlapping(Widget* child);
    virtual void MarkDirtyOverlapping();
    virtual void Attached(WidgetManager* manager);
    virtual void Detached(WidgetManager* manager);
    virtual void Update();
    virtual void UpdateTree(TreeFlags& flags);
    virtual void UpdateFraction(float fraction) {}
    virtual void UpdateFractionTree(TreeFlags& flags, float fraction);
    virtual void Draw(Graphics* g) {}
    // g is already translated to this node's origin.
    virtual void DrawTree(TreeFlags& flags, Graphics* g);
    virtual void RefreshTree();
    virtual void Refresh() {}

    WidgetList mWidgets;
    WidgetManager* mWidgetManager = nullptr; // null while not in a manager's tree
    WidgetContainer* mParent = nullptr;
    // The update walk's position among the children. Removing or re-stacking
    // the child it stands on moves it on and sets the step flag, so the walk
    // does not advance a second time.
    bool mUpdateIteratorModified = false;
    WidgetList::iterator mUpdateIterator;
    uint32_t mLastWMUpdateCount = 0; // the manager's update count when Update last ran
    uint32_t mUpdateCnt = 0;
    bool mDirty = false;
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    bool mHasAlpha = false; // parts may stay undrawn: what lies below is redrawn with it
    bool mClip = true;
    FlagsMod mWidgetFlagsMod;
    int32_t mPriority = 0;
    int32_t mZOrder = 0;

protected:
    // Inserts by z order, starting the search at pos (see the .cpp).
    void InsertWidgetHelper(WidgetList::iterator pos, Widget* widget);
    // Takes a child out of the list, moving the walk position past it.
    void UnlinkWidget(WidgetList::iterator it);
    WidgetList::iterator FindWidget(Widget* widget);

private:
    enum class Place { Top, Bottom, Below, Above };
    void Restack(Widget* widget, Place place, Widget* ref);
    bool IsBelowHelper(WidgetContainer* container, Widget* a, Widget* b, bool& found);
};

} // namespace Zelk
