#include "framework/graphics/DDInterface.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/D3DTester.h"

namespace Zelk {

DDInterface::DDInterface(ZelkAppBase* app) : mApp(app), mD3DInterface(new D3DInterface()) {}

DDInterface::~DDInterface()
{
    delete mD3DInterface;
    delete mD3DTester;
}

void DDInterface::RemoveImageTextures(MemoryImage* image)
{
    mD3DInterface->RemoveImageTextures(image);
}

int DDInterface::Init(plat::WindowHandle window, bool windowed)
{
    CritSectGuard g(mCritSect);
    ++mInitCount;
    return mInitResult;
}

std::string DisplayResultName(int result)
{
    static const char* const kNames[] = {"RESULT_OK", "RESULT_FAIL", "RESULT_DD_CREATE_FAIL", "RESULT_SURFACE_FAIL",
                                         "RESULT_EXCLUSIVE_FAIL", "RESULT_DISPCHANGE_FAIL",
                                         "RESULT_INVALID_COLORDEPTH"};
    return result >= 0 && result <= 6 ? kNames[result] : "RESULT_UNKNOWN";
}

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
