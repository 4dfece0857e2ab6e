#include "framework/widgets/WidgetManager.h"

namespace Zelk {

void WidgetManager::Resize(int screenX, int screenY, int screenWidth, int screenHeight, int mouseX,
                           int mouseY, int mouseWidth, int mouseHeight)
{
    mScreenWidth = screenWidth;
    mScreenHeight = screenHeight;
}

bool WidgetManager::UpdateFrame()
{
    ++mUpdateCnt;
    return mDirty;
}

void WidgetManager::UpdateFrameFraction(float fraction)
{
    ++mFractionCnt;
    mLastFraction = fraction;
}

bool WidgetManager::DrawScreen()
{
    bool drew = mDirty;
    mDirty = false;
    return drew;
}

} // namespace Zelk
