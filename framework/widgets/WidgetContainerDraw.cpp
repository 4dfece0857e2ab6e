// The draw walk of the widget tree.
#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetContainer.h"
#include "framework/widgets/WidgetManager.h"

namespace Zelk {

void WidgetContainer::DrawTree(TreeFlags& flags, Graphics* g)
{
    WidgetManager* manager = mWidgetManager;
    if (manager && mPriority > manager->mMinDeferredOverlayPriority)
        manager->DrawQueuedOverlays(mPriority);

    const uint32_t savedAbove = flags.mAboveFlags;
    const uint32_t savedBelow = flags.mBelowFlags;
    flags.mAboveFlags = mWidgetFlagsMod.Apply(flags.mAboveFlags);
    flags.mBelowFlags = mWidgetFlagsMod.Apply(flags.mBelowFlags);

    if (mClip && (flags.GetFlags() & WIDGET_FLAG_CLIP))
        g->ClipRect(0, 0, mWidth, mHeight);

    if (mWidgets.empty()) {
        if (flags.GetFlags() & WIDGET_FLAG_DRAW)
            Draw(g);
    } else {
        if (flags.GetFlags() & WIDGET_FLAG_DRAW) {
            g->PushState();
            Draw(g);
            g->PopState();
        }
        Widget* baseModal = manager ? manager->mBaseModalWidget : nullptr;
        for (Widget* child : mWidgets) {
            if (!child->mVisible)
                continue; // stays dirty until it is drawn
            if (child == baseModal)
                flags.mIsAbove = true;
            Graphics childG(*g);
            childG.Translate(child->mX, child->mY);
            child->DrawTree(flags, &childG);
            child->mDirty = false;
        }
    }

    flags.mAboveFlags = savedAbove;
    flags.mBelowFlags = savedBelow;
}

} // namespace Zelk
