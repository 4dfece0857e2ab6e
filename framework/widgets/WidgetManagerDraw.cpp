// The frame draw of the widget manager.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Zelk {

namespace {
constexpr int32_t kNoOverlay = 0x7fffffff;
}

// Only dirty, visible top-level widgets are drawn, each with its whole
// subtree, over what the screen image already holds; with whole frames
// repainted, the image is cleared first and every visible one is drawn.
bool WidgetManager::DrawScreen()
{
    TreeFlags flags = ComputeFlags();
    bool anyDirty = false;
    for (Widget* widget : mWidgets)
        anyDirty = anyDirty || widget->mDirty;
    if (anyDirty && mRepaintWholeFrames)
        for (Widget* widget : mWidgets)
            widget->mDirty = widget->mDirty || widget->mVisible;

    mDeferredOverlayWidgets.clear();
    mMinDeferredOverlayPriority = kNoOverlay;

    Graphics g(mImage);
    mCurG = &g;
    // A screen image on a surface stays locked for the whole draw; the
    // drawing routines lock and unlock it again inside.
    DDImage* surfaceImage = dynamic_cast<DDImage*>(mImage);
    const bool locked = surfaceImage && surfaceImage->LockSurface();

    bool drew = false;
    if (anyDirty) {
        if (mRepaintWholeFrames && mImage) {
            Graphics clearG(g);
            clearG.SetColor(Color(0, 0, 0));
            clearG.FillRect(0, 0, mImage->mWidth, mImage->mHeight);
        }
        Graphics screenG(g);
        screenG.Translate(-mScreenRect.mX, -mScreenRect.mY);
        const bool is3D = mApp && mApp->Is3DAccelerated();
        for (Widget* widget : mWidgets) {
            if (widget == mBaseModalWidget)
                flags.mIsAbove = true;
            if (!widget->mDirty || !widget->mVisible)
                continue;
            Graphics widgetG(screenG);
            widgetG.SetNearestStretch(!is3D);
            widgetG.SetFilterFlag(is3D);
            widgetG.Translate(widget->mX, widget->mY);
            widget->DrawTree(flags, &widgetG);
            widget->mDirty = false;
            drew = true;
        }
        if (mApp)
            mApp->DrawOverlay(&screenG);
    }

    DrawQueuedOverlays(kNoOverlay);
    if (locked)
        surfaceImage->UnlockSurface();
    mCurG = nullptr;
    return drew;
}

// Draws the queued overlays of the lowest queued priority, then of the next,
// while that priority is below maxPriority.
void WidgetManager::DrawQueuedOverlays(int maxPriority)
{
    if (!mCurG)
        return;
    for (;;) {
        int32_t lowest = kNoOverlay;
        // By index: an overlay may queue further overlays while it draws.
        for (size_t i = 0; i < mDeferredOverlayWidgets.size(); ++i) {
            Widget* widget = mDeferredOverlayWidgets[i].mWidget;
            const int32_t priority = mDeferredOverlayWidgets[i].mPriority;
            if (!widget)
                continue;
            if (priority != mMinDeferredOverlayPriority) {
                lowest = std::min(lowest, priority);
                continue;
            }
            Graphics overlayG(*mCurG);
            overlayG.Translate(-mScreenRect.mX, -mScreenRect.mY);
            overlayG.Translate(widget->mX, widget->mY);
            overlayG.SetNearestStretch(!overlayG.mIs3D);
            overlayG.SetFilterFlag(overlayG.mIs3D);
            mDeferredOverlayWidgets[i].mWidget = nullptr;
            widget->DrawOverlayAt(&overlayG, priority);
        }
        mMinDeferredOverlayPriority = lowest;
        if (lowest == kNoOverlay) {
            mDeferredOverlayWidgets.clear();
            return;
        }
        if (lowest >= maxPriority)
            return;
    }
}

} // namespace Zelk
