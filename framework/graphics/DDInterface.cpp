#include "framework/graphics/DDInterface.h"

namespace Zelk {

bool DDInterface::Redraw(const void* dirtyRect)
{
    CritSectGuard g(mCritSect);
    if (mFailRedraw)
        return false;
    ++mRedrawCount;
    return true;
}

void DDInterface::SetCursorPosition(int x, int y)
{
    CritSectGuard g(mCritSect);
    mCursorX = x;
    mCursorY = y;
    mCursorDrawnX = x;
    mCursorDrawnY = y;
}

bool DDInterface::SetCursorImage(Image* image)
{
    CritSectGuard g(mCritSect);
    if (image == mCursorImage)
        return false;
    mCursorImage = image;
    return true;
}

} // namespace Zelk
