#include "framework/widgets/WidgetManager.h"

namespace Zelk {

void WidgetManager::Resize(const Rect& screenRect, const Rect& mouseRect)
{
    mScreenWidth = screenRect.mWidth;
    mScreenHeight = screenRect.mHeight;
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

namespace Zelk {

namespace {
int ButtonBit(int clickCount) { return clickCount > 0 ? (clickCount == 3 ? 4 : 1) : 2; }
} // namespace

void WidgetManager::MouseMove(int x, int y) { mEvents.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }

void WidgetManager::MouseDown(int x, int y, int clickCount)
{
    mDownButtons |= ButtonBit(clickCount);
    mEvents.push_back("down " + std::to_string(clickCount));
}

void WidgetManager::MouseUp(int x, int y, int clickCount)
{
    mDownButtons &= ~ButtonBit(clickCount);
    mEvents.push_back("up " + std::to_string(clickCount));
}

void WidgetManager::MouseWheel(int delta) { mEvents.push_back("wheel " + std::to_string(delta)); }
void WidgetManager::MouseExit() { mEvents.push_back("exit"); }

bool WidgetManager::KeyDown(int key)
{
    if (key >= 0 && key < 0xFF)
        mKeyDown[key] = true;
    mEvents.push_back("keydown " + std::to_string(key));
    return true;
}

bool WidgetManager::KeyUp(int key)
{
    if (key >= 0 && key < 0xFF)
        mKeyDown[key] = false;
    mEvents.push_back("keyup " + std::to_string(key));
    return true;
}

bool WidgetManager::KeyChar(wchar_t c)
{
    mEvents.push_back("char " + std::to_string(int(c)));
    return true;
}

} // namespace Zelk
