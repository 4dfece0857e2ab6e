// A surface image as the target of system-font text: the text device draws
// through the surface's device context, which the surface's own lock must
// make room for.
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "platform/text/TextDevice.h"

namespace Zelk {

bool DDImage::EnsureTextSurface() { return GetSurface() != nullptr; }

void DDImage::SuspendSurfaceLock()
{
    if (mSurface)
        mSurface->Unlock();
}

bool DDImage::ResumeSurfaceLock()
{
    return mSurface && mSurface->Lock(nullptr, mLockDesc, plat::DDLOCK_WAIT) >= 0;
}

void DDImage::ResetSurfaceLock()
{
    mLockCount = 0;
    mLockDesc = plat::DDSurfaceDesc();
}

void DDImage::EndRendererScene()
{
    if (mDDInterface && mDDInterface->mD3DInterface)
        mDDInterface->mD3DInterface->EndScene();
}

bool DDImage::GetTextDC(plat::TextTarget& target) { return mSurface && mSurface->GetDC(target) >= 0; }

void DDImage::ReleaseTextDC()
{
    if (mSurface)
        mSurface->ReleaseDC();
}

} // namespace Zelk
